#pragma once
// The flows the body is solved in. The solution is linear in the flow that meets the body, so
// one elimination carries several: the axial stream of the report, the transverse stream, whose
// sum gives any angle of attack, and a turn about a transverse axis, for the added masses.

#include <array>
#include <vector>

namespace tarvenol {

using Vector3 = std::array<double, 3>;

// The velocity the fluid would have at r without the body: a uniform stream plus a turn about
// an axis through centre, V + omega x (r - centre). The flow-tangency condition makes the
// right-hand side -n . (V + omega x (r - centre)) of each panel's equation.
struct OnsetFlow {
  Vector3 V{};
  Vector3 omega{};
  Vector3 centre{};
};

Vector3 OnsetVelocity(const OnsetFlow& flow, double x, double y, double z);

// The onset flows of a solution, in this order: the stream (1, 0, 0) along the axis, the
// stream (0, 1, 0) across it, and the unit turn about the z axis through (xCentre, 0, 0), which
// pitches the body in the x-y plane of the transverse stream.
enum OnsetIndex { kAxialStream = 0, kTransverseStream = 1, kPitchTurn = 2 };
std::vector<OnsetFlow> IncidenceOnsetFlows(double xCentre);

}  // namespace tarvenol
