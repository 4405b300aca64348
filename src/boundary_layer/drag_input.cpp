#include "boundary_layer/drag_input.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/program_error.h"
#include "solver/onset_flow.h"

namespace tarvenol {
namespace {

// An end closer to the axis than this, relative to the body's size, lies on it.
constexpr double kOnAxis = 1e-9;

void CheckSolution(const ModelState& s, const HessSolution& solution) {
  if (!s.GeometryReady || solution.flows.size() <= kAxialStream ||
      solution.onsets.size() <= kAxialStream) {
    throw ProgramError(
        "There is no solution to take the boundary layer from: apply the panel method first.");
  }
  if (solution.nonFinitePanel != 0 || solution.zeroPivotRow != 0) {
    throw ProgramError(
        "The solution failed, so there is no surface velocity to take the "
        "boundary layer from.");
  }
  const OnsetFlow& axial = solution.onsets[kAxialStream];
  if (axial.V != Vector3{1, 0, 0} || axial.omega != Vector3{0, 0, 0}) {
    throw ProgramError("The solution has no axial stream to take the boundary layer from.");
  }
  const FlowSolution& flow = solution.flows[kAxialStream];
  if (flow.Ut.Limit(0) != ArrayLimit(s.NI) || flow.Ut.Limit(1) != ArrayLimit(s.NJ) ||
      s.xB.Limit(0) != ArrayLimit(s.NI1)) {
    throw ProgramError(
        "The solution is not of the panels now prepared: apply the panel "
        "method again.");
  }
  if (s.NI < kLeastPanelsAlong) {
    throw ProgramError("The boundary layer needs at least " +
                       std::to_string(static_cast<int>(kLeastPanelsAlong)) +
                       " panels along the body; it has " + std::to_string(LoopEnd(s.NI)) +
                       ": resample the profile with more.");
  }
}

}  // namespace

BoundaryLayerInput BoundaryLayerInputOf(const ModelState& s, const HessSolution& solution,
                                        double reynolds, const TransitionSetting& transition) {
  CheckSolution(s, solution);
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  std::vector<double> x, r;
  double size = 0;
  for (int i = 1; i <= ni + 1; ++i) {
    x.push_back(s.xB(i, 1));
    r.push_back(std::hypot(s.yB(i, 1), s.zB(i, 1)));
    size = std::max({size, std::fabs(x.back()), r.back()});
  }
  if (r.front() > kOnAxis * size) {
    throw ProgramError(
        "The boundary layer starts at the stagnation point on the nose, but the "
        "profile's first point lies off the axis.");
  }
  if (!(x.back() > x.front())) {
    throw ProgramError("The profile runs from tail to nose: its boundary layer cannot be taken.");
  }

  BoundaryLayerInput in;
  in.reynolds = reynolds;
  in.transition = transition;
  in.body = MeasuresOfProfile(x, r);
  Meridian& m = in.meridian;
  m.s = {0};
  m.x = {x.front()};
  m.r0 = {0};
  m.Ue = {0};
  const FlowSolution& flow = solution.flows[kAxialStream];
  double along = 0;
  for (int i = 1; i <= ni; ++i) {
    // The ring's edge on the profile runs from point i to point i + 1, x[i - 1] to x[i].
    const auto k = static_cast<std::size_t>(i);
    const double edge = std::hypot(x[k] - x[k - 1], r[k] - r[k - 1]);
    double speed = 0;
    for (int j = 1; j <= nj; ++j) speed += std::hypot(flow.Ut(i, j), flow.Vt(i, j));
    m.s.push_back(along + edge / 2);
    m.x.push_back((x[k - 1] + x[k]) / 2);
    m.r0.push_back((r[k - 1] + r[k]) / 2);
    m.Ue.push_back(speed / nj);
    along += edge;
  }
  return in;
}

void TakeEdgeSpeedsAtMach(BoundaryLayerInput& in, const Array2& speed, int ni, int nj) {
  std::vector<double>& Ue = in.meridian.Ue;  // station i is ring i; station 0 the nose
  std::vector<double> ratio(Ue.size(), 0.0);
  std::size_t firstSuction = 0, lastSuction = 0;  // rings; 0 for none
  for (int i = 1; i <= ni; ++i) {
    double sum = 0;
    for (int j = 1; j <= nj; ++j) sum += speed(i, j);
    const auto k = static_cast<std::size_t>(i);
    const double mean = sum / nj;
    if (mean > 0 && Ue[k] > 0) ratio[k] = mean / Ue[k];
    if (mean >= 1) {
      if (firstSuction == 0) firstSuction = k;
      lastSuction = k;
    }
  }
  if (firstSuction != 0) {
    std::fill(ratio.begin() + 1, ratio.begin() + static_cast<std::ptrdiff_t>(firstSuction),
              ratio[firstSuction]);
    std::fill(ratio.begin() + static_cast<std::ptrdiff_t>(lastSuction) + 1, ratio.end(),
              ratio[lastSuction]);
  }
  for (std::size_t k = 1; k < Ue.size(); ++k) {
    std::size_t nearest = k;
    for (std::size_t d = 1; ratio[nearest] == 0 && d < Ue.size(); ++d) {
      if (k + d < Ue.size() && ratio[k + d] > 0) nearest = k + d;
      if (k > d && ratio[k - d] > 0) nearest = k - d;
    }
    Ue[k] *= ratio[nearest];
  }
}

}  // namespace tarvenol
