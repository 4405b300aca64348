#pragma once
// Families of hulls given by a few parameters, as profiles from the nose to the tail.
//
// Myring's hull (D. F. Myring, "A theoretical study of body drag in subcritical axisymmetric
// flow", Aeronautical Quarterly 27 (1976) 186-194): a nose of length a, a cylindrical midbody of
// length b and a tail of length c on a diameter d, the nose's shape set by the exponent n and the
// tail's by its half-angle theta at the tail's end:
//   nose     r(x) = d/2 (1 - ((x - a)/a)^2)^(1/n),                               0 <= x <= a
//   midbody  r(x) = d/2,                                                         a <= x <= a + b
//   tail     r(x) = d/2 - (3d/(2c^2) - tan(theta)/c) u^2 + (d/c^3 - tan(theta)/c^2) u^3,
//            u = x - a - b,                                                      0 <= u <= c.
// The nose meets the midbody with r = d/2 and a level tangent; the tail leaves it
// with r = d/2 and a level tangent and closes on the axis at the slope -tan(theta). With
// T = c tan(theta)/d the tail is r/d = (1 - s)^2 (1 + 2s)/2 + T s^2 (1 - s), s = u/c: it falls
// all the way from the midbody to the axis for 0 <= T <= 3/2, and bulges above the midbody
// beyond; such angles are refused.
//
// The prolate (or oblate) spheroid x^2/a^2 + r^2/b^2 = 1, its nose at x = 0: semi-axis a along
// the axis, b across it.

#include "core/counts.h"
#include "geometry/body_profile.h"

namespace tarvenol {

struct MyringHull {
  double a = 0;             // nose length
  double b = 0;             // midbody length
  double c = 0;             // tail length
  double d = 0;             // diameter
  double n = 2;             // nose exponent
  double thetaDegrees = 0;  // tail half-angle at the tail's end
};

struct SpheroidHull {
  double a = 0;  // semi-axis along the axis
  double b = 0;  // semi-axis across it
};

// Refuses, naming the parameter and the range it must lie in, a hull that is no body: a length
// or diameter not above 0 (the midbody may be 0 long), an exponent not above 0, an angle outside
// 0 <= theta <= atan(3d / (2c)), or a value that is not a finite number.
void CheckMyring(const MyringHull& h);
void CheckSpheroid(const SpheroidHull& h);

// r at x, 0 <= x <= a + b + c, of a hull CheckMyring accepts.
double MyringRadius(const MyringHull& h, double x);

// The profile at ni + 1 points, spaced evenly along its arc, both ends on the axis; checked
// first. ni must be a whole number from kMinNI to kMaxCount.
BodyProfile MyringProfile(const MyringHull& h, double ni);

// The profile at ni + 1 points spaced evenly in the angle t of x = a (1 + cos t), r = b sin t,
// t from pi down to 0, as the sphere's are in its polar angle: the spheroid of a = b = 0.5 is
// the program's sphere, to the bit. Checked first, with ni as for Myring's hull.
BodyProfile SpheroidProfile(const SpheroidHull& h, double ni);

}  // namespace tarvenol
