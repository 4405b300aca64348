#pragma once
// The prolate spheroid x^2/a^2 + r^2/b^2 = 1 (a >= b; the sphere is a = b) in closed form, for
// comparison with the panel method (Lamb, Hydrodynamics, sections 105 and 373), with
// e^2 = 1 - b^2/a^2 and x measured from the centre:
//   alpha0 = 2 (1 - e^2) / e^3 (atanh(e) - e),  beta0 = 1/e^2 - (1 - e^2) / e^3 atanh(e),
//   the added-mass coefficients k1 = alpha0 / (2 - alpha0) along the axis,
//   k2 = beta0 / (2 - beta0) across it, and for a turn about a transverse axis through the centre
//   k' = e^4 (beta0 - alpha0) / ((2 - e^2) (2 e^2 - (2 - e^2)(beta0 - alpha0))), referred to the
//   moment of inertia of the displaced fluid, m (a^2 + b^2) / 5;
//   in a stream along the axis 1 - Cp = (1 + k1)^2 (a^2 - x^2) / (a^2 - e^2 x^2) (on the sphere
//   9/4 sin^2 of the polar angle); in the stream (cos a, sin a, 0) the surface velocity is the
//   part of W = ((1 + k1) cos a, (1 + k2) sin a, 0) along the surface, so that
//   1 - Cp = |W|^2 - (W . n)^2, n the unit normal.

#include <optional>

#include "core/array.h"

namespace tarvenol {

struct Spheroid {
  double centre = 0;  // x of the centre
  double a = 0, b = 0;
  double k1 = 0;      // the added-mass coefficients along the axis,
  double k2 = 0;      // across it,
  double kPrime = 0;  // and for a turn about a transverse axis through the centre
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

// 1 - Cp in the stream (cosA, sinA, 0) at the surface point nearest (x, y, z), which lies in the
// meridian plane of (x, y, z). Near the nose of a slender body the surface turns quickly, and a
// panel's control point lies much nearer the surface's point along its normal than the one at
// its own x.
double ExactOneMinusCpAtIncidence(const Spheroid& body, double cosA, double sinA, double x,
                                  double y, double z);

}  // namespace tarvenol
