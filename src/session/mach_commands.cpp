#include "session/mach_commands.h"

#include <cmath>
#include <limits>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "results/compressibility.h"
#include "results/critical_mach.h"
#include "results/mach_panels.h"
#include "session/guarded.h"

namespace tarvenol {
namespace {

// The moment curve's angles, which the results offer at any Mach number.
constexpr double kAngleStep = 5;

// The pressure of the solution shown at a, from the affine body above M = 0; throws where
// Kármán–Tsien's correction has no value.
PressureAtMach PressureAt(const Program& p, const Incidence& a) {
  if (p.mach.mach == 0 || !p.affine) return PressureFromSolution(p.state, p.solution, a, {}, 1);
  return PressureFromSolution(p.state, p.affine->solution, a, p.mach, p.affine->beta);
}

}  // namespace

MachSetting CurrentMach(const Program& p) {
  return p.mach;
}

std::optional<AffineBody> AffineBodyFor(const ModelState& s, const BodyWork& body,
                                        const MachSetting& m, Progress& progress) {
  if (m.mach == 0) return std::nullopt;
  AffineBody affine = SolveAffineBody(s, body, BetaOfMach(m.mach), progress);
  // Göthert's rule has a value everywhere; the correction's suction ends far past sonic, which
  // the angles of the moment curve, and so the results', must not reach.
  if (m.rule == PressureRule::GoethertKarmanTsien) {
    for (double degrees = -kMaxIncidenceDegrees; degrees <= kMaxIncidenceDegrees;
         degrees += kAngleStep) {
      PressureFromSolution(s, affine.solution, IncidenceOf(degrees), m, affine.beta);
    }
  }
  return affine;
}

bool SetMach(Program& p, WindowOps& win, const std::string& text, PressureRule rule) {
  const std::optional<double> mach = WholeTextNumber(text);
  if (!mach || !(*mach >= 0 && *mach < 1)) {
    const std::string why = !mach || std::isnan(*mach) ? " is not a number"
                            : *mach < 0                ? " is below 0"
                                        : " is not below 1, where subsonic flow ends";
    win.MessageBox("The Mach number must be at least 0 and below 1; " + Shown(text) + why + ".");
    return false;
  }
  const MachSetting m{*mach, rule};
  // The affine body of the solution is solved already: a box that loses the focus sets it again.
  if (m.mach == p.mach.mach && m.rule == p.mach.rule) return true;
  if (!p.state.ShowSolution) {
    p.mach = m;
    p.affine.reset();
    return true;
  }
  bool taken = false;
  Guarded(win, [&] {
    IgnoredProgress unwatched;
    std::optional<AffineBody> affine = AffineBodyFor(p.state, p.body, m, unwatched);
    // At the angle shown, which may lie between the moment curve's.
    if (affine)
      PressureFromSolution(p.state, affine->solution, IncidenceOf(p.alphaDegrees), m, affine->beta);
    p.mach = m;
    p.affine = std::move(affine);
    taken = true;
  });
  return taken;
}

bool SetMach(Program& p, WindowOps& win, const std::string& text,
             const std::optional<std::string>& ruleWord) {
  if (ruleWord && *ruleWord != "karman-tsien") {
    win.MessageBox(
        "The rule after a Mach number is karman-tsien, or none for Göthert's rule "
        "alone; " +
        Shown(*ruleWord) + " is not.");
    return false;
  }
  return SetMach(p, win, text,
                 ruleWord ? PressureRule::GoethertKarmanTsien : PressureRule::Goethert);
}

std::optional<PressureAtMach> PressureShownAt(const Program& p, const Incidence& a) {
  if (!p.state.ShowSolution) return std::nullopt;
  try {
    return PressureAt(p, a);
  } catch (const ProgramError&) {
    return std::nullopt;
  }
}

std::vector<PanelResult> PanelsShownAt(const Program& p, const Incidence& a) {
  if (p.mach.mach == 0 || !p.affine) {
    return PanelResults(p.state, SolutionAtIncidence(p.solution, a));
  }
  return PanelResultsAtMach(p.state, *p.affine, PressureAt(p, a));
}

PressureForces ForcesShownAt(const Program& p, const Incidence& a, const Vector3& reference) {
  if (p.mach.mach == 0 || !p.affine) return ForcesAt(p.state, p.solution, a, reference);
  return ForcesOfPressure(p.state, PressureAt(p, a).Cp, a.degrees, reference);
}

std::optional<std::string> MachWarning(const Program& p) {
  if (p.mach.mach == 0) return std::nullopt;
  const std::optional<PressureAtMach> at = PressureShownAt(p, IncidenceOf(p.alphaDegrees));
  if (!at || !at->supersonic) return std::nullopt;
  return "The flow is locally supersonic at M = " + ShownNumber(p.mach.mach, 4) +
         ": the lowest Cp, " + ShownNumber(at->CpMin, 4) + " at x = " + ShownNumber(at->xCpMin, 4) +
         ", is below the sonic pressure coefficient Cp* = " + ShownNumber(at->CpStar, 4) +
         ". The method does not hold there; the results are shown as it gives them.";
}

std::optional<std::vector<std::pair<std::string, double>>> MachFigures(const Program& p,
                                                                       WindowOps& win,
                                                                       Progress& progress) {
  if (!p.state.ShowSolution) {
    win.MessageBox("There is no critical Mach number yet: apply Hess's panel method first.");
    return std::nullopt;
  }
  std::optional<std::vector<std::pair<std::string, double>>> lines;
  Guarded(win, [&] {
    const Incidence a = IncidenceOf(p.alphaDegrees);
    const PressureAtMach at = PressureAt(p, a);
    const CriticalMach critical =
        CriticalMachOf(p.state, p.body, p.solution, a, p.mach.rule, progress);
    lines = {{"Cp_min", at.CpMin},
             {"x_Cp_min", at.xCpMin},
             {"M_critical", critical.mach.value_or(std::numeric_limits<double>::quiet_NaN())}};
  });
  return lines;
}

}  // namespace tarvenol
