#include "boundary_layer/turbulent_layer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "boundary_layer/march.h"

namespace tarvenol {
namespace {

// H1 falls to 3.3 as H grows without bound; trial steps of the march beyond separation may ask
// for less, where the curves have no value.
constexpr double kLeastH1 = 3.3 + 1e-9;
// A trial step may take r0 theta through zero, where the skin friction has no value.
constexpr double kLeastR0Theta = std::numeric_limits<double>::min();

using State = std::array<double, 2>;  // r0 theta, r0 Ue theta H1

TurbulentState LayerOf(const EdgeFlow& edge, double nu, double s, const State& y) {
  const double Ue = edge.Ue(s);
  TurbulentState t;
  const double r0Theta = std::max(y[0], kLeastR0Theta);
  t.theta = r0Theta / edge.r0(s);
  t.H = HeadH(std::max(y[1] / (Ue * r0Theta), kLeastH1));
  t.ReTheta = Ue * t.theta / nu;
  t.cf = LudwiegTillmannCf(t.H, t.ReTheta);
  return t;
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
  const auto rhs = [&](double s, const State& y) {
    const double Ue = edge.Ue(s), r0 = edge.r0(s);
    const double H1 = std::max(y[1] / (Ue * std::max(y[0], kLeastR0Theta)), kLeastH1);
    const TurbulentState t = LayerOf(edge, nu, s, y);
    return State{r0 * t.cf / 2 - (t.H + 2) * y[0] * edge.dUeds(s) / Ue,
                 r0 * Ue * HeadEntrainment(H1)};
  };
  const auto event = [&](double s, const State& y) {
    return LayerOf(edge, nu, s, y).H - kTurbulentSeparation;
  };
  const auto observe = [&](double s, const State& y) {
    run.s.push_back(s);
    run.layer.push_back(LayerOf(edge, nu, s, y));
  };
  const double r0 = edge.r0(sStart), Ue = edge.Ue(sStart);
  const State start{r0 * theta, r0 * Ue * theta * HeadH1(kTransitionH)};
  run.atStart = LayerOf(edge, nu, sStart, start);
  const MarchEnd<2> end = March(rhs, start, sStart, stations, event, observe);
  run.sEnd = end.s;
  run.atEnd = LayerOf(edge, nu, end.s, end.y);
  if (end.stopped) run.end = TurbulentEnd::Separation;
  return run;
}

}  // namespace tarvenol
