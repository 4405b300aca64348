#pragma once
// The pressure on a prolate spheroid x^2/a^2 + r^2/b^2 = 1 (a >= b; the sphere is a = b) in a
// uniform stream along its axis, in closed form, for comparison with the panel method:
//   1 - Cp = (1 + k1)^2 (a^2 - x^2) / (a^2 - e^2 x^2),  e^2 = 1 - b^2/a^2,
//   alpha0 = 2 (1 - e^2) / e^3 (atanh(e) - e),  k1 = alpha0 / (2 - alpha0),
// with x measured from the centre; on the sphere, 1 - Cp = 9/4 sin^2 of the polar angle.

#include <optional>

#include "core/array.h"

namespace tarvenol {

struct Spheroid {
  double centre = 0;  // x of the centre
  double a = 0, b = 0;
  double k1 = 0;  // the longitudinal added-mass coefficient
};

// How near an ellipse the profile's points must lie, as a fraction of a and b, to be taken
// for one: far beyond the rounding of body files written with ten significant digits, far
// below what tells one body from another.
inline constexpr double kSpheroidTolerance = 1e-6;

// The spheroid whose profile are points 1..n of xI, rI: ends on the axis at x1 < xn, the
// widest radius b at most the half length a; nothing when any point lies off its ellipse.
std::optional<Spheroid> SpheroidOfProfile(const Array1& xI, const Array1& rI, int n);

Spheroid SpheroidOf(double centre, double a, double b);

// 1 - Cp on the spheroid's surface at the axial position x; 0 beyond its ends.
double ExactOneMinusCp(const Spheroid& body, double x);

}  // namespace tarvenol
