#include "boundary_layer/turbulent_layer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "boundary_layer/march.h"

namespace tarvenol {
namespace {

// A trial step may take the momentum area through zero, where the skin friction has no value.
constexpr double kLeastArea = std::numeric_limits<double>::min();

using State = std::array<double, 2>;  // Theta, Phi

struct Closure {
  ThickLayer layer;
  TurbulentState state;
};

// The layer of state y, from the guess at its H1, which is set to this one's.
Closure ClosureOf(const EdgeFlow& edge, double nu, double s, const State& y, ProfileGuess& H1) {
  const double Ue = edge.Ue(s), area = std::max(y[0], kLeastArea);
  Closure c;
  c.layer = ThickLayerOfFlux(area, y[1], edge.r0(s), edge.drdn(s), kHeadProfiles, H1);
  TurbulentState& t = c.state;
  t.theta = c.layer.theta;
  t.H = c.layer.H;
  t.ReTheta = Ue * t.theta / nu;
  t.cf = LudwiegTillmannCf(t.H, t.ReTheta);
  t.momentumArea = area;
  t.HArea = c.layer.HArea;
  return c;
}

}  // namespace

double HeadH1(double H) {
  return H <= 1.6 ? 3.3 + 0.8234 * std::pow(H - 1.1, -1.287)
                  : 3.3 + 1.5501 * std::pow(H - 0.6778, -3.064);
}

double HeadH(double H1) {
  return H1 >= 5.3 ? 1.1 + 0.86 * std::pow(H1 - 3.3, -0.777)
                   : 0.6778 + 1.1538 * std::pow(H1 - 3.3, -0.326);
}

double HeadEntrainment(double H1) {
  return 0.0306 * std::pow(H1 - 3, -0.6169);
}

double LudwiegTillmannCf(double H, double ReTheta) {
  return 0.246 * std::pow(10.0, -0.678 * H) * std::pow(ReTheta, -0.268);
}

TurbulentRun MarchTurbulent(const EdgeFlow& edge, double nu, double sStart, double theta,
                            const std::vector<double>& stations) {
  TurbulentRun run;
  ProfileGuess H1{HeadH1(kTransitionH)};
  const auto rhs = [&](double s, const State& y) {
    const double gradient = edge.dUeds(s) / edge.Ue(s);
    const Closure c = ClosureOf(edge, nu, s, y, H1);
    return State{
        edge.r0(s) * c.state.cf / 2 - (c.layer.HArea + 2) * c.state.momentumArea * gradient,
        c.layer.edgeRadius * HeadEntrainment(c.layer.H1) - c.layer.flux * gradient};
  };
  const auto event = [&](double s, const State& y) {
    return ClosureOf(edge, nu, s, y, H1).state.H - kTurbulentSeparation;
  };
  const auto observe = [&](double s, const State& y) {
    run.s.push_back(s);
    run.layer.push_back(ClosureOf(edge, nu, s, y, H1).state);
  };
  const ThickLayer start =
      ThickLayerOfTheta(theta, H1.p, edge.r0(sStart), edge.drdn(sStart), kHeadProfiles);
  const State y0{start.momentumArea, start.flux};
  run.atStart = ClosureOf(edge, nu, sStart, y0, H1).state;
  const MarchEnd<2> end = March(rhs, y0, sStart, stations, event, observe);
  run.sEnd = end.s;
  run.atEnd = ClosureOf(edge, nu, end.s, end.y, H1).state;
  if (end.stopped) run.end = TurbulentEnd::Separation;
  return run;
}

}  // namespace tarvenol
