#pragma once
// The critical Mach number of the body: the lowest Mach number at which the lowest pressure on
// it, by Göthert's rule (results/goethert.h) at the results' angle of attack, reaches the sonic
// pressure coefficient Cp*(M) of isentropic flow. Above it the flow is locally supersonic.
//
// The lowest Cp of the rule is that of the affine body, thinner as M grows, over beta^2: its
// root in M is found by Alefeld, Potra and Shi's TOMS 748 (Boost.Math), each step one solve of
// the affine body by its symmetry. The bracket comes without a solve from the incompressible
// lowest Cp0: a thinner body has less suction, but not beta^2 times less, so that the rule's
// lowest Cp lies between Cp0 and Cp0 / beta^2, whose crossings of Cp* bound the root; a bound
// that turns out not to hold is moved out until it does. With Kármán–Tsien's correction the
// root is sought in the rule's own pressure, against the Cp* that the correction turns into,
// Cp* / (1 - M^2 Cp* / (2 (1 + beta))), which stays finite where the corrected suction does not.

#include <optional>

#include "core/model_state.h"
#include "core/progress.h"
#include "geometry/body_of_revolution.h"
#include "results/goethert.h"
#include "solver/incidence.h"
#include "solver/hess_solve.h"

namespace tarvenol {

// How near the root the search stops: far below the panels' own error in M.
inline constexpr double kCriticalMachTolerance = 1e-5;

struct CriticalMach {
  // None where the body has no suction, or where its lowest Cp does not reach Cp* until beta
  // is below kLeastBeta.
  std::optional<double> mach;
  int solves = 0;  // of the affine body, in the search
};
inline constexpr double kLeastBeta = 1e-3;

// From the body of s and body and its incompressible solution, which must carry the axial and
// the transverse stream, at the angle a, by the rule. Refuses, with a message, an affine body
// that cannot be solved; Cancelled when progress asks to stop.
CriticalMach CriticalMachOf(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                            const Incidence& a, PressureRule rule, Progress& progress);

// What the results at a Mach number are: the pressure on the body at M (one affine solve, none
// at M = 0) and the critical Mach number (CriticalMach::solves more).
struct MachResults {
  PressureAtMach atMach;
  CriticalMach critical;
};
MachResults MachResultsOf(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                          const Incidence& a, const MachSetting& m, Progress& progress);

}  // namespace tarvenol
