#include "results/exact_pressure.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvenol {
namespace {

// Below it the closed forms lose their digits to cancellation, and their series serve.
constexpr double kSeriesEccentricity = 1e-2;

// (atanh(e) - e) / e^3.
double AtanhLessE(double e) {
  if (e < kSeriesEccentricity) {
    const double e2 = e * e;
    return 1.0 / 3 + e2 / 5 + e2 * e2 / 7 + e2 * e2 * e2 / 9;
  }
  return (std::atanh(e) - e) / (e * e * e);
}

// beta0 = 1/e^2 - (1 - e^2) atanh(e) / e^3.
double Beta0(double e) {
  const double e2 = e * e;
  if (e < kSeriesEccentricity) return 2.0 / 3 + 2 * e2 / 15 + 2 * e2 * e2 / 35;
  return 1 / e2 - (1 - e2) * std::atanh(e) / (e2 * e);
}

}  // namespace

Spheroid SpheroidOf(double centre, double a, double b) {
  Spheroid body{centre, a, b, 0, 0, 0};
  const double e2 = std::max(0.0, 1 - (b * b) / (a * a));
  const double e = std::sqrt(e2);
  const double alpha0 = 2 * (1 - e2) * AtanhLessE(e);
  const double beta0 = Beta0(e);
  body.k1 = alpha0 / (2 - alpha0);
  body.k2 = beta0 / (2 - beta0);
  // Near the sphere k' is e^4 / 6 to leading order, below any digit the panels give.
  if (e >= kSeriesEccentricity) {
    const double d = beta0 - alpha0;
    body.kPrime = e2 * e2 * d / ((2 - e2) * (2 * e2 - (2 - e2) * d));
  } else {
    body.kPrime = e2 * e2 / 6;
  }
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

double ExactOneMinusCpAtIncidence(const Spheroid& body, double cosA, double sinA, double x,
                                  double y, double z) {
  // The point of the meridian's ellipse (a cos t, b sin t) nearest (u, r): the distance is least
  // where (a^2 - b^2) sin t cos t - u a sin t + r b cos t = 0, which Newton's method finds from
  // the point's own elliptic angle in a few steps for points near the surface.
  const double u = x - body.centre, r = std::hypot(y, z);
  const double a = body.a, b = body.b;
  double t = std::atan2(r * a, u * b);
  for (int step = 0; step < 20; ++step) {
    const double c = std::cos(t), s = std::sin(t);
    const double f = (a * a - b * b) * s * c - u * a * s + r * b * c;
    const double df = (a * a - b * b) * (c * c - s * s) - u * a * c - r * b * s;
    if (df == 0) break;
    const double next = std::clamp(t - f / df, 0.0, std::numbers::pi);
    if (next == t) break;
    t = next;
  }
  // The unit normal there, turned into the meridian plane of (y, z).
  const double nx = std::cos(t) / a, nr = std::sin(t) / b;
  const double length = std::hypot(nx, nr);
  const double c = r > 0 ? y / r : 1, s = r > 0 ? z / r : 0;
  const double n[3] = {nx / length, nr / length * c, nr / length * s};
  const double W[3] = {(1 + body.k1) * cosA, (1 + body.k2) * sinA, 0};
  const double normal = W[0] * n[0] + W[1] * n[1] + W[2] * n[2];
  return W[0] * W[0] + W[1] * W[1] - normal * normal;
}

}  // namespace tarvenol
