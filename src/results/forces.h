#pragma once
// The force and moment of the pressure on the body at an angle of attack, in units of the
// dynamic pressure 1/2 rho U^2: F = -sum of Cp n A over the panels and M = -sum of
// Cp (r - reference) x n A, with n the panel's unit normal out of the body, r its control point,
// A its area. A closed body in potential flow feels no net force (d'Alembert): what the panels
// give is a measure of their error. The moment is Munk's, which turns a body nose up, away from
// the stream: on the prolate spheroid 2 (k2 - k1) V sin a cos a.

#include <optional>
#include <vector>

#include "geometry/body_figures.h"
#include "results/exact_pressure.h"
#include "solver/incidence.h"
#include "solver/hess_solve.h"

namespace tarvenol {

struct PressureForces {
  double alphaDegrees = 0;
  Vector3 reference{};  // the point the moment is taken about
  Vector3 force{};      // in units of 1/2 rho U^2: an area
  Vector3 moment{};     // in units of 1/2 rho U^2: a volume
  // Nose-up pitching moment, -moment z: the stream (cos a, sin a, 0) lifts the nose to +y.
  double Pitching() const { return -moment[2]; }
};

// The body's forces over a range of angles of attack, about its centre of volume, with the Munk
// moment where the body is a spheroid.
struct ForcesTable {
  BodyFigures figures;
  std::optional<Spheroid> spheroid;
  std::vector<PressureForces> rows;
  // At the angle of attack shown, whether or not it is one of the rows'.
  std::optional<PressureForces> shown;
  // 2 (k2 - k1) of the panels' own sources (their first moments): Munk's moment coefficient on
  // the volume over sin a cos a, which the exact flow's moment of the pressure has.
  double sourceMunk = 0;
};

// The pressure of the solution's stream at the angle of attack integrated over the panels of s.
PressureForces ForcesAt(const ModelState& s, const HessSolution& solution, const Incidence& a,
                        const Vector3& reference);

// The same of any pressure Cp [0..NI, 0..NJ] on the panels of s: that of a Mach number, say.
PressureForces ForcesOfPressure(const ModelState& s, const Array2& Cp, double alphaDegrees,
                                const Vector3& reference);

// Coefficients on the body's volume V, as airships are rated: force / V^(2/3), moment / V.
double ForceCoefficient(double force, const BodyFigures& f);
double MomentCoefficient(double moment, const BodyFigures& f);

// Munk's nose-up moment on the spheroid, on its volume: 2 (k2 - k1) sin a cos a.
double MunkMomentCoefficient(const Spheroid& s, const Incidence& a);

}  // namespace tarvenol
