#include "solver/onset_flow.h"

namespace tarvenol {

Vector3 OnsetVelocity(const OnsetFlow& flow, double x, double y, double z) {
  const double dx = x - flow.centre[0], dy = y - flow.centre[1], dz = z - flow.centre[2];
  const Vector3& w = flow.omega;
  // Without a turn, exactly V: the axial stream's arithmetic is that of a stream alone.
  if (w[0] == 0 && w[1] == 0 && w[2] == 0) return flow.V;
  return {flow.V[0] + (w[1] * dz - w[2] * dy), flow.V[1] + (w[2] * dx - w[0] * dz),
          flow.V[2] + (w[0] * dy - w[1] * dx)};
}

std::vector<OnsetFlow> IncidenceOnsetFlows(double xCentre) {
  return {OnsetFlow{{1, 0, 0}, {}, {}}, OnsetFlow{{0, 1, 0}, {}, {}},
          OnsetFlow{{}, {0, 0, 1}, {xCentre, 0, 0}}};
}

}  // namespace tarvenol
