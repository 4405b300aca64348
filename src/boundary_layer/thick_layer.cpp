#include "boundary_layer/thick_layer.h"

#include <algorithm>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <cstdint>

namespace tarvenol {
namespace {

// The secant iteration from the guess: at most this many steps, to this relative change of p.
constexpr int kSecantSteps = 12;
constexpr double kSecantTolerance = 1e-13;

// The profile's moments per theta^2: a, b and g of the header.
struct Moments {
  double H, H1, thickness, a, b, g;  // thickness = delta / theta
};

Moments MomentsOf(double p, const ProfileFamily& f) {
  Moments m;
  m.H = f.H(p);
  m.H1 = f.H1(p);
  m.thickness = m.H + m.H1;
  const double N = 2 / (m.H - 1), d2 = m.thickness * m.thickness;
  m.a = d2 * N / (2 * (2 * N + 1) * (N + 1));
  m.b = d2 / (2 * (2 * N + 1));
  m.g = d2 * N / (2 * N + 1);
  return m;
}

ThickLayer Layer(double theta, const Moments& m, double r0, double c) {
  ThickLayer t;
  t.theta = theta;
  t.H = m.H;
  t.H1 = m.H1;
  t.delta = m.thickness * theta;
  t.momentumArea = r0 * theta + c * m.a * theta * theta;
  t.displacementArea = r0 * m.H * theta + c * m.b * theta * theta;
  t.flux = r0 * m.H1 * theta + c * m.g * theta * theta;
  t.HArea = t.displacementArea / t.momentumArea;
  t.edgeRadius = r0 + c * t.delta;
  return t;
}

// theta of r0 theta + c a theta^2 = Theta, c a >= 0.
double ThetaOfArea(double area, double r0, double ca) {
  return 2 * area / (r0 + std::sqrt(r0 * r0 + 4 * ca * area));
}

ThickLayer OfArea(double area, double p, double r0, double c, const ProfileFamily& f) {
  const Moments m = MomentsOf(p, f);
  return Layer(ThetaOfArea(area, r0, c * m.a), m, r0, c);
}

}  // namespace

ThickLayer ThickLayerOfTheta(double theta, double p, double r0, double drdn,
                             const ProfileFamily& f) {
  return Layer(theta, MomentsOf(p, f), r0, drdn);
}

ThickLayer ThickLayerOfFlux(double momentumArea, double flux, double r0, double drdn,
                            const ProfileFamily& f, ProfileGuess& guess) {
  const auto layerAt = [&](double p) { return OfArea(momentumArea, p, r0, drdn, f); };
  // The secant method from the guess, its first step along the last slope.
  double p0 = std::clamp(guess.p, f.least, f.most), slope = guess.slope;
  ThickLayer at0 = layerAt(p0);
  if (at0.flux == flux) {
    guess.p = p0;
    return at0;
  }
  double p1 = slope != 0 ? p0 - (at0.flux - flux) / slope
                         : p0 + 1e-4 * (p0 < f.most ? 1 : -1) * std::fabs(p0);
  for (int step = 0; step < kSecantSteps && p1 >= f.least && p1 <= f.most; ++step) {
    const ThickLayer at1 = layerAt(p1);
    if (at1.flux != at0.flux) slope = (at1.flux - at0.flux) / (p1 - p0);
    if (at1.flux == flux || std::fabs(p1 - p0) <= kSecantTolerance * std::fabs(p1)) {
      guess = {p1, slope};
      return at1;
    }
    if (at1.flux == at0.flux) break;
    p0 = p1;
    at0 = at1;
    p1 = p1 - (at1.flux - flux) / slope;
  }
  // Else bracketed over the whole range, or the range's end the flux lies beyond.
  const auto excess = [&](double p) { return layerAt(p).flux - flux; };
  const double atLeast = excess(f.least), atMost = excess(f.most);
  double p = 0;
  if (!(atLeast * atMost < 0)) {
    p = std::fabs(atLeast) < std::fabs(atMost) ? f.least : f.most;
  } else {
    std::uintmax_t iterations = 100;
    const auto bracket = boost::math::tools::toms748_solve(
        excess, f.least, f.most, atLeast, atMost, boost::math::tools::eps_tolerance<double>(48),
        iterations);
    p = (bracket.first + bracket.second) / 2;
  }
  guess = {p, 0};
  return layerAt(p);
}

}  // namespace tarvenol
