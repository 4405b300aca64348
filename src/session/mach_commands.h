#pragma once
// The Mach number of the results, a setting of what is shown and exported like the angle of
// attack: at M = 0 every result is the incompressible solution's own; above it the pressure
// is Göthert's (results/goethert.h), from the affine body that the program keeps beside the
// solution, solved once for each Mach number and each solution.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "core/window_ops.h"
#include "results/forces.h"
#include "results/goethert.h"
#include "results/panel_results.h"
#include "session/program.h"

namespace tarvenol {

// What the drag's edge velocity and every other result follow.
MachSetting CurrentMach(const Program& p);

// Sets the Mach number of the results from a text, with its rule: a number at least 0 and below
// 1, or a message naming what is wrong, and the setting stays. With a solution shown and M above
// 0 the affine body is solved here, one solve by the body's symmetry; one that cannot be solved,
// or whose pressure Kármán–Tsien's correction cannot turn at an angle of attack the results
// offer, is refused the same way. True when the setting was taken.
bool SetMach(Program& p, WindowOps& win, const std::string& text, PressureRule rule);
// The rule as a word: "karman-tsien", or none for Göthert's rule alone.
bool SetMach(Program& p, WindowOps& win, const std::string& text,
             const std::optional<std::string>& ruleWord);

// The affine body of a solution of s and body at m, none at M = 0, with the same refusals as
// SetMach's (ProgramError); Cancelled when progress asks to stop.
std::optional<AffineBody> AffineBodyFor(const ModelState& s, const BodyWork& body,
                                        const MachSetting& m, Progress& progress);

// The pressure of the solution shown at the angle a and the results' Mach number; nothing before
// a solution, or where Kármán–Tsien's correction has no value.
std::optional<PressureAtMach> PressureShownAt(const Program& p, const Incidence& a);

// The panels of the solution shown at the angle a and the Mach number, as the plot and the
// exports take them; throws ProgramError where Kármán–Tsien's correction has no value.
std::vector<PanelResult> PanelsShownAt(const Program& p, const Incidence& a);

// The force and moment of the pressure at the angle a and the Mach number, about reference.
PressureForces ForcesShownAt(const Program& p, const Incidence& a, const Vector3& reference);

// Above the critical Mach number: the warning that goes with the results, which are shown all
// the same; nothing below it, and before a solution.
std::optional<std::string> MachWarning(const Program& p);

// Cp_min and x_Cp_min at the results' angle and Mach number, and M_critical at the angle by the
// rule (NaN where the body has none below 1), as the batch tool prints them after the body's
// figures. A message and nothing before a solution or where the affine body has no solution;
// nothing when progress asks to stop.
std::optional<std::vector<std::pair<std::string, double>>> MachFigures(const Program& p,
                                                                       WindowOps& win,
                                                                       Progress& progress);

}  // namespace tarvenol
