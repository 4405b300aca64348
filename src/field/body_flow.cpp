#include "field/body_flow.h"

#include <cmath>

namespace tarvenol {

BodyFlow::BodyFlow(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                   double tolerance, Progress* progress)
    : shape_(s, body),
      sources_(s, {&solution.flows[kAxialStream].Sigma, &solution.flows[kTransverseStream].Sigma},
               tolerance, WidestVectorPath(), progress),
      onset_{solution.onsets[kAxialStream], solution.onsets[kTransverseStream]} {}

bool BodyFlow::VelocityAt(double x, double y, double z, StreamVelocities& V) const {
  if (shape_.Where(x, y, z) != BodyShape::Place::Outside) return false;
  double induced[2][3] = {};
  const double point[3] = {x, y, z};
  sources_.AddInduced(point, induced);
  for (std::size_t f = 0; f < 2; ++f) {
    const Vector3 onset = OnsetVelocity(onset_[f], x, y, z);
    for (std::size_t c = 0; c < 3; ++c) V[f][c] = onset[c] + induced[f][c];
  }
  return true;
}

FlowAtPoint FlowAtIncidence(const StreamVelocities& V, double cosA, double sinA) {
  FlowAtPoint p;
  for (std::size_t c = 0; c < 3; ++c) {
    p.V[c] = cosA * V[kAxialStream][c] + sinA * V[kTransverseStream][c];
  }
  const double speed2 = p.V[0] * p.V[0] + p.V[1] * p.V[1] + p.V[2] * p.V[2];
  p.speed = std::sqrt(speed2);
  p.Cp = 1 - speed2;
  return p;
}

std::vector<std::optional<FlowAtPoint>> FlowAtPoints(const BodyFlow& flow,
                                                     const std::vector<Vector3>& points,
                                                     const Incidence& a, Progress& progress) {
  std::vector<std::optional<FlowAtPoint>> flows(points.size());
  const std::size_t count = points.size();
  ParallelStop stop(progress, Stage::FlowField);
#pragma omp parallel for schedule(dynamic, 16)
  for (std::size_t k = 0; k < count; ++k) {
    if (stop.Stopping(static_cast<double>(k) / static_cast<double>(count))) continue;
    const Vector3& q = points[k];
    StreamVelocities V;
    if (flow.VelocityAt(q[0], q[1], q[2], V)) {
      flows[k] = FlowAtIncidence(V, a.cosA, a.sinA);
    }
  }
  stop.ThrowIfStopped();
  return flows;
}

}  // namespace tarvenol
