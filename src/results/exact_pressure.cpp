#include "results/exact_pressure.h"

#include <algorithm>
#include <cmath>

namespace tarvenol {
namespace {

// (atanh(e) - e) / e^3: its series where the difference would lose its digits.
double AtanhLessE(double e) {
  if (e < 1e-3) {
    const double e2 = e * e;
    return 1.0 / 3 + e2 / 5 + e2 * e2 / 7;
  }
  return (std::atanh(e) - e) / (e * e * e);
}

}  // namespace

Spheroid SpheroidOf(double centre, double a, double b) {
  Spheroid body{centre, a, b, 0};
  const double e2 = std::max(0.0, 1 - (b * b) / (a * a));
  const double alpha0 = 2 * (1 - e2) * AtanhLessE(std::sqrt(e2));
  body.k1 = alpha0 / (2 - alpha0);
  return body;
}

std::optional<Spheroid> SpheroidOfProfile(const Array1& xI, const Array1& rI, int n) {
  if (n < 3) return std::nullopt;
  const double a = (xI(n) - xI(1)) / 2;
  double b = 0;
  for (int k = 1; k <= n; ++k) b = std::max(b, rI(k));
  if (!(a > 0 && b > 0 && b <= a * (1 + kSpheroidTolerance))) return std::nullopt;
  const double centre = (xI(1) + xI(n)) / 2;
  for (int k = 1; k <= n; ++k) {
    const double u = (xI(k) - centre) / a, v = rI(k) / b;
    if (!(std::fabs(std::hypot(u, v) - 1) <= kSpheroidTolerance)) return std::nullopt;
  }
  return SpheroidOf(centre, a, std::min(a, b));
}

double ExactOneMinusCp(const Spheroid& body, double x) {
  const double u = x - body.centre;
  const double a2 = body.a * body.a;
  if (u * u >= a2) return 0;
  const double e2 = 1 - (body.b * body.b) / a2;
  const double k = 1 + body.k1;
  return k * k * (a2 - u * u) / (a2 - e2 * u * u);
}

}  // namespace tarvenol
