#include "boundary_layer/lag_entrainment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "boundary_layer/march.h"

namespace tarvenol {
namespace {

// cf0's logarithm has no value below Re_theta = 10^1.02; a layer just past transition, or a
// trial step, may ask for less.
constexpr double kLeastReTheta = 100;
// A trial step may take the momentum area through zero.
constexpr double kLeastArea = std::numeric_limits<double>::min();

using State = std::array<double, 3>;  // Theta, Phi, CE

struct Closure {
  ThickLayer layer;
  double ReTheta, cf0, cf, Ctau, CtauEQ0, gradientEQ;
};

double Ctau(double CE, double cf0) {
  return 0.024 * CE + 1.2 * CE * CE + 0.32 * cf0;
}

// The wall's skin friction and the layer's equilibrium, for a layer of the given profile.
Closure ClosureOfLayer(const EdgeFlow& edge, double nu, double s, const ThickLayer& layer,
                       double CE) {
  Closure c;
  c.layer = layer;
  const double H = layer.H;
  c.ReTheta = std::max(edge.Ue(s) * layer.theta / nu, kLeastReTheta);
  c.cf0 = GreenFlatPlateCf(c.ReTheta);
  const double H0 = 1 / (1 - 6.55 * std::sqrt(c.cf0 / 2));
  c.cf = c.cf0 * (0.9 / (H / H0 - 0.4) - 0.5);
  const double wake = std::pow((H - 1) / (6.432 * H), 2);
  c.gradientEQ = 1.25 / H * (c.cf / 2 - wake);
  const double gradientEQ0 = 1.25 / H * (c.cf0 / 2 - wake);
  const double CEEQ0 = layer.H1 * (c.cf0 / 2 - (H + 1) * gradientEQ0);
  c.Ctau = Ctau(std::max(CE, 0.0), c.cf0);
  c.CtauEQ0 = Ctau(CEEQ0, c.cf0);
  return c;
}

// The layer of state y, from the guess at its H, which is set to this one's.
Closure ClosureOf(const EdgeFlow& edge, double nu, double s, const State& y, ProfileGuess& H) {
  const ThickLayer layer = ThickLayerOfFlux(std::max(y[0], kLeastArea), y[1], edge.r0(s),
                                            edge.drdn(s), kGreenProfiles, H);
  return ClosureOfLayer(edge, nu, s, layer, y[2]);
}

TurbulentState LayerOf(const Closure& c) {
  return {c.layer.theta, c.layer.H, c.cf, c.ReTheta, c.layer.momentumArea, c.layer.HArea};
}

}  // namespace

double GreenH1(double H) {
  const double h = H - 1;
  return 3.15 + 1.72 / h - 0.01 * h * h;
}

double GreenFlatPlateCf(double ReTheta) {
  return 0.01013 / (std::log10(ReTheta) - 1.02) - 0.00075;
}

TurbulentRun MarchLagEntrainment(const EdgeFlow& edge, double nu, double sStart, double theta,
                                 const std::vector<double>& stations) {
  TurbulentRun run;
  ProfileGuess lastH{kTransitionH};
  const auto rhs = [&](double s, const State& y) {
    const Closure c = ClosureOf(edge, nu, s, y, lastH);
    const double Ue = edge.Ue(s), dUeds = edge.dUeds(s), H = c.layer.H;
    const double gradient = c.layer.theta * dUeds / Ue;
    const double CE = std::max(y[2], 0.0);
    const double F = (0.02 * CE + CE * CE + 0.8 * c.cf0 / 3) / (0.01 + CE);
    return State{edge.r0(s) * c.cf / 2 - (c.layer.HArea + 2) * c.layer.momentumArea * dUeds / Ue,
                 c.layer.edgeRadius * CE - c.layer.flux * dUeds / Ue,
                 F *
                     (2.8 / (H + c.layer.H1) * (std::sqrt(c.CtauEQ0) - std::sqrt(c.Ctau)) +
                      c.gradientEQ - gradient) /
                     c.layer.theta};
  };
  const auto event = [&](double s, const State& y) {
    return ClosureOf(edge, nu, s, y, lastH).layer.H - kTurbulentSeparation;
  };
  const auto observe = [&](double s, const State& y) {
    run.s.push_back(s);
    run.layer.push_back(LayerOf(ClosureOf(edge, nu, s, y, lastH)));
  };
  // The entrainment the layer would have in equilibrium at its starting shape.
  const ThickLayer layer =
      ThickLayerOfTheta(theta, kTransitionH, edge.r0(sStart), edge.drdn(sStart), kGreenProfiles);
  const Closure c = ClosureOfLayer(edge, nu, sStart, layer, 0);
  const double H = layer.H;
  const double CE = layer.H1 * (c.cf0 / 2 - (H + 1) * 1.25 / H *
                                                (c.cf0 / 2 - std::pow((H - 1) / (6.432 * H), 2)));
  const State start{layer.momentumArea, layer.flux, CE};
  run.atStart = LayerOf(ClosureOf(edge, nu, sStart, start, lastH));
  const MarchEnd<3> end = March(rhs, start, sStart, stations, event, observe);
  run.sEnd = end.s;
  run.atEnd = LayerOf(ClosureOf(edge, nu, end.s, end.y, lastH));
  if (end.stopped) run.end = TurbulentEnd::Separation;
  return run;
}

}  // namespace tarvenol
