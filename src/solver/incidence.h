#pragma once
// The body at an angle of attack. The solution is linear in the stream, so the stream
// (cos a, sin a, 0) at angle of attack a in the x-y plane is cos a times the axial stream's
// solution plus sin a times the transverse stream's: any angle at once, with no new solve.

#include "solver/hess_solve.h"

namespace tarvenol {

// cos a and sin a of an angle in degrees, exact at the multiples of 90 degrees, so that the
// axial stream's results at 0 are its own bits.
struct Incidence {
  double degrees = 0;
  double cosA = 1, sinA = 0;
};
Incidence IncidenceOf(double degrees);

// The source strengths and surface velocities in the stream at the angle of attack, by panel;
// the solution must carry the axial and the transverse stream.
FlowSolution SolutionAtIncidence(const HessSolution& solution, const Incidence& a);

// cos a * axial + sin a * transverse, element by element.
Array2 Superposed(const Array2& axial, const Array2& transverse, const Incidence& a);

// The angles of attack a user may choose, in degrees.
inline constexpr double kMaxIncidenceDegrees = 90;

}  // namespace tarvenol
