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
// H is kept above 1, where H1 has a value, and r0 theta above 0, in trial steps.
constexpr double kLeastH = 1.05;

using State = std::array<double, 3>;  // r0 theta, H, CE

struct Closure {
  double theta, H, ReTheta, cf0, cf, H1, dHdH1, Ctau, CtauEQ0, gradientEQ;
};

double Ctau(double CE, double cf0) {
  return 0.024 * CE + 1.2 * CE * CE + 0.32 * cf0;
}

Closure ClosureOf(const EdgeFlow& edge, double nu, double s, const State& y) {
  Closure c;
  c.theta = std::max(y[0], std::numeric_limits<double>::min()) / edge.r0(s);
  c.H = std::max(y[1], kLeastH);
  c.ReTheta = std::max(edge.Ue(s) * c.theta / nu, kLeastReTheta);
  c.cf0 = GreenFlatPlateCf(c.ReTheta);
  const double H0 = 1 / (1 - 6.55 * std::sqrt(c.cf0 / 2));
  c.cf = c.cf0 * (0.9 / (c.H / H0 - 0.4) - 0.5);
  const double h = c.H - 1;
  c.H1 = 3.15 + 1.72 / h - 0.01 * h * h;
  c.dHdH1 = -h * h / (1.72 + 0.02 * h * h * h);
  const double wake = std::pow(h / (6.432 * c.H), 2);
  c.gradientEQ = 1.25 / c.H * (c.cf / 2 - wake);
  const double gradientEQ0 = 1.25 / c.H * (c.cf0 / 2 - wake);
  const double CEEQ0 = c.H1 * (c.cf0 / 2 - (c.H + 1) * gradientEQ0);
  c.Ctau = Ctau(std::max(y[2], 0.0), c.cf0);
  c.CtauEQ0 = Ctau(CEEQ0, c.cf0);
  return c;
}

TurbulentState LayerOf(const Closure& c) {
  return {c.theta, c.H, c.cf, c.ReTheta};
}

}  // namespace

double GreenFlatPlateCf(double ReTheta) {
  return 0.01013 / (std::log10(ReTheta) - 1.02) - 0.00075;
}

TurbulentRun MarchLagEntrainment(const EdgeFlow& edge, double nu, double sStart, double theta,
                                 const std::vector<double>& stations) {
  TurbulentRun run;
  const auto rhs = [&](double s, const State& y) {
    const Closure c = ClosureOf(edge, nu, s, y);
    const double gradient = c.theta * edge.dUeds(s) / edge.Ue(s);
    const double CE = std::max(y[2], 0.0);
    const double F = (0.02 * CE + CE * CE + 0.8 * c.cf0 / 3) / (0.01 + CE);
    return State{edge.r0(s) * c.cf / 2 - (c.H + 2) * y[0] * edge.dUeds(s) / edge.Ue(s),
                 c.dHdH1 * (CE - c.H1 * (c.cf / 2 - (c.H + 1) * gradient)) / c.theta,
                 F *
                     (2.8 / (c.H + c.H1) * (std::sqrt(c.CtauEQ0) - std::sqrt(c.Ctau)) +
                      c.gradientEQ - gradient) /
                     c.theta};
  };
  const auto event = [&](double s, const State& y) {
    return ClosureOf(edge, nu, s, y).H - kTurbulentSeparation;
  };
  const auto observe = [&](double s, const State& y) {
    run.s.push_back(s);
    run.layer.push_back(LayerOf(ClosureOf(edge, nu, s, y)));
  };
  // The entrainment the layer would have in equilibrium at its starting shape.
  State start{edge.r0(sStart) * theta, kTransitionH, 0};
  const Closure c = ClosureOf(edge, nu, sStart, start);
  start[2] = c.H1 * (c.cf0 / 2 -
                     (c.H + 1) * 1.25 / c.H * (c.cf0 / 2 - std::pow((c.H - 1) / (6.432 * c.H), 2)));
  run.atStart = LayerOf(ClosureOf(edge, nu, sStart, start));
  const MarchEnd<3> end = March(rhs, start, sStart, stations, event, observe);
  run.sEnd = end.s;
  run.atEnd = LayerOf(ClosureOf(edge, nu, end.s, end.y));
  if (end.stopped) run.end = TurbulentEnd::Separation;
  return run;
}

}  // namespace tarvenol
