#pragma once
// The flow around the body of a solution, anywhere outside it: the onset stream plus the
// velocity the panels' sources induce, for the axial and the transverse stream at once, whose
// sum cos a (axial) + sin a (transverse) is the flow at the angle of attack a. Points inside the
// body or on it have none.

#include <array>
#include <optional>
#include <vector>

#include "field/source_field.h"
#include "geometry/body_of_revolution.h"
#include "geometry/body_shape.h"
#include "solver/hess_solve.h"
#include "solver/incidence.h"

namespace tarvenol {

// The velocity of the two streams at a point, in the order of kAxialStream, kTransverseStream.
using StreamVelocities = std::array<Vector3, 2>;

class BodyFlow {
 public:
  // A snapshot of the geometry of s and body and of the solution's two streams: it reads
  // nothing of them afterwards. The solution must carry both streams. Where progress is given,
  // the expansions tell it how far they have come, and stop when it asks (Cancelled).
  BodyFlow(const ModelState& s, const BodyWork& body, const HessSolution& solution,
           double tolerance = kFarFieldTolerance, Progress* progress = nullptr);

  // The velocities at the point; false, and nothing in V, where the point is inside the body
  // or on it.
  bool VelocityAt(double x, double y, double z, StreamVelocities& V) const;

  const BodyShape& Shape() const { return shape_; }

 private:
  BodyShape shape_;
  SourceField sources_;
  OnsetFlow onset_[2];
};

// The velocity and pressure coefficient at the angle of attack of one point.
struct FlowAtPoint {
  Vector3 V{};
  double speed = 0;
  double Cp = 0;  // 1 - |V|^2 in a unit stream
};
FlowAtPoint FlowAtIncidence(const StreamVelocities& V, double cosA, double sinA);

// The flow at each point at the angle of attack, in parallel; none inside the body or on it.
// Tells progress how far it has come, and throws Cancelled when asked to stop.
std::vector<std::optional<FlowAtPoint>> FlowAtPoints(const BodyFlow& flow,
                                                     const std::vector<Vector3>& points,
                                                     const Incidence& a, Progress& progress);

}  // namespace tarvenol
