#pragma once
// The body in a stream of gas at a subsonic Mach number M, by Göthert's rule: the incompressible
// flow around an affine body, solved by the body's symmetry, gives the pressure on the body.
//
// Small disturbances of a unit stream along the axis x obey, with beta = sqrt(1 - M^2),
//     beta^2 phi_xx + phi_yy + phi_zz = 0,
// phi the perturbation potential; at an angle of attack a this holds to first order in a,
// whose stream keeps cos a = 1 along the axis. Put x' = x, y' = beta y, z' = beta z and
// phi = lambda phi'(x', y', z'): phi' obeys Laplace's equation, whatever lambda. The body
// r = R(x) becomes r' = beta R(x), its radii multiplied by beta and its length unchanged, and
// the linearised tangency condition fixes lambda, once for each stream, from
// phi_r = lambda beta phi'_r':
//   the axial stream (1, 0, 0) asks phi_r = R' on the body, the affine body's axial stream
//     phi'_r' = beta R': lambda = 1 / beta^2, phi = phi'_A / beta^2;
//   the transverse stream (0, 1, 0) asks phi_r = -cos theta on the body, and so does the affine
//     body's: lambda = 1 / beta, phi = phi'_T / beta.
// At the angle a, phi = cos a phi'_A / beta^2 + sin a phi'_T / beta
//                     = (cos a phi'_A + beta sin a phi'_T) / beta^2:
// the affine body's potential in the stream (cos a, beta sin a, 0), at the affine angle a' of
// tan a' = beta tan a (Göthert's a' = beta a), over beta^2. The pressure of linear theory,
// Cp = -2 phi_x, is therefore
//     Cp = Cp' / beta^2,
// Cp' the affine body's at a' in a unit stream (the speed sqrt(cos^2 a + beta^2 sin^2 a) of the
// other is 1 to first order). Panel (i, j) of the body takes the value of panel (i, j) of the
// affine body, whose control point is the affine image of its own. For Cp' the program takes the
// full incompressible pressure 1 - |V'|^2 of the affine panels, as the rule is used, not its
// linear part -2 u'. What the other quantities mean under the rule:
//   1 - Cp is 1 minus that Cp, no longer the square of the speed;
//   the perturbation velocity of the gas is (u' / beta^2, v' / beta, w' / beta), (u', v', w')
//     the affine body's perturbation velocity in the stream (cos a, beta sin a, 0);
//   the surface speed q / U, the boundary layer's edge velocity Ue, is the isentropic speed of
//     Cp (results/compressibility.h), equal to |V|^2 of those velocities to first order;
//   forces and moments are that Cp integrated over the body's panels (ForcesOfPressure). A
//     panel's x-projected area n_x A is beta^2 times smaller on the affine body, so the axial
//     force is the affine body's over beta^4: none, as d'Alembert has it, within the panels'
//     error.
// Kármán–Tsien's correction, as an option, is applied panel by panel to Cp0 = beta Cp = Cp' /
// beta, the incompressible pressure whose planar scaling Cp0 / beta is the rule's Cp; that is
//     Cp = Cp_rule / (1 + M^2 Cp_rule / (2 (1 + beta))),
// which agrees with the rule to first order and deepens its suction peaks.
// At M = 0 every value is the incompressible solution's own, with no arithmetic on it. Above
// the critical Mach number (results/critical_mach.h) the values are still given, with the flag
// that the flow is locally supersonic, where neither the rule nor the correction holds.

#include <optional>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"
#include "geometry/body_of_revolution.h"
#include "results/exact_pressure.h"
#include "results/incidence.h"
#include "solver/hess_solve.h"

namespace tarvenol {

enum class PressureRule { Goethert, GoethertKarmanTsien };

struct MachSetting {
  double mach = 0;
  PressureRule rule = PressureRule::Goethert;
  friend bool operator==(const MachSetting&, const MachSetting&) = default;
};

// The stream of the affine body: tan a' = beta tan a, exact at a = 0.
Incidence AffineIncidence(const Incidence& a, double beta);

// The body of s and body with its radii multiplied by beta, NI and NJ as they are, solved by
// SymmetricSolve in the axial and the transverse stream. Refuses, with a message, panels without
// axes and a solution that fails; Cancelled when progress asks to stop.
struct AffineBody {
  double beta = 1;
  ModelState s;
  HessSolution solution;
};
AffineBody SolveAffineBody(const ModelState& s, const BodyWork& body, double beta,
                           Progress& progress);

// The pressure of the rule at the panels [0..NI, 0..NJ] of the body, and its lowest value.
struct PressureAtMach {
  MachSetting setting;
  double beta = 1;
  Incidence incidence;  // the results' angle of attack, not the affine one
  Array2 Cp, OneMinusCp, speed;
  double CpMin = 0, xCpMin = 0;  // the lowest Cp and the x of its panel's control point
  int iCpMin = 0, jCpMin = 0;
  double CpStar = 0;        // the sonic pressure coefficient at M
  bool supersonic = false;  // CpMin below CpStar: the flow is locally supersonic
};

// From the affine body's solution, or at M = 0 from the body's own, which must carry the axial
// and the transverse stream, at the angle a; the panels of s are the body's.
PressureAtMach PressureFromSolution(const ModelState& s, const HessSolution& solution,
                                    const Incidence& a, const MachSetting& m, double beta);

// The same from the body's own solution: one affine solve, none at M = 0. Refuses a Mach number
// outside 0 <= M < 1.
PressureAtMach PressureAtMachOf(const ModelState& s, const BodyWork& body,
                                const HessSolution& solution, const Incidence& a,
                                const MachSetting& m, Progress& progress);

// The rule on the exact spheroid, at the surface point nearest (x, y, z): Lamb's pressure on the
// affine spheroid (semi-axes a and beta b) at (x, beta y, beta z) and the affine angle.
double ExactCpAtMach(const Spheroid& body, const Incidence& a, const MachSetting& m, double x,
                     double y, double z);

}  // namespace tarvenol
