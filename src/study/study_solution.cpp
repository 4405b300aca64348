#include "study/study_solution.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/program_error.h"
#include "geometry/body_figures.h"
#include "results/body_report.h"
#include "results/compressibility.h"
#include "results/critical_mach.h"
#include "results/forces.h"
#include "solver/incidence.h"
#include "solver/symmetric_solve.h"

namespace tarvenol {
namespace {

std::string NoFiniteSolution(const ModelState& s, int m) {
  const int nj = LoopEnd(s.NJ);
  return "Hess's panel method gives no finite result at panel (" +
         std::to_string(PanelOfNumber(m, nj).i) + ", " + std::to_string(PanelOfNumber(m, nj).j) +
         "), so the solution is not taken. The panels there are likely too slender for the "
         "arithmetic: use fewer panels along a slender body, or a profile without nearly "
         "repeated points.";
}

}  // namespace

StudySolution SolveStudy(const StudyBody& body, bool symmetric, Progress& progress) {
  const ModelState& s = body.state;
  const std::vector<OnsetFlow> onsets = IncidenceOnsetFlows(FiguresOfPanels(s).centreX);
  StudySolution solved;
  solved.symmetric = symmetric;
  if (symmetric) {
    solved.solution = SymmetricSolve(s, onsets, progress, solved.ringPotentials);
  } else {
    SolverWork work;
    solved.solution = HessSolve(s, work, onsets, progress, [](const SolverWork&) {});
  }
  if (solved.solution.nonFinitePanel != 0) {
    throw ProgramError(NoFiniteSolution(s, solved.solution.nonFinitePanel));
  }
  if (solved.solution.zeroPivotRow != 0) {
    solved.warnings.push_back("The elimination met a zero diagonal element in row " +
                              std::to_string(solved.solution.zeroPivotRow) +
                              ": every source strength is 0.");
  }
  return solved;
}

void RequireAngleOfAttack(double degrees) {
  if (std::fabs(degrees) <= kMaxIncidenceDegrees) return;
  char text[32];
  const std::string shown(text, std::to_chars(text, text + sizeof text, degrees).ptr);
  throw ProgramError("The angle of attack must be a number of degrees from -90 to 90; " + shown +
                     " is not.");
}

Figures StudyFigures(const StudyBody& body, const StudySolution& solved, double alphaDegrees,
                     const std::optional<double>& mach, Progress& progress,
                     const std::function<CoarseCompanion(Progress&)>& companion) {
  RequireAngleOfAttack(alphaDegrees);
  if (mach) RequireSubsonicMach(*mach);
  if (solved.solution.zeroPivotRow != 0) {
    throw ProgramError(
        "The solution met a zero diagonal element, so it gives no added masses: prepare the "
        "geometry with other panel counts.");
  }
  Figures figures = BodyReportLines(
      BodyReportOf(body.state, body.body, solved.solution, progress,
                   solved.ringPotentials.Empty() ? nullptr : &solved.ringPotentials, companion));
  // As body-figures takes them, so that they are its numbers to the bit.
  const Incidence a = IncidenceOf(alphaDegrees);
  const MachSetting m{mach.value_or(0)};
  const PressureAtMach at =
      PressureAtMachOf(body.state, body.body, solved.solution, a, m, progress);
  figures.emplace_back("Cp_min", at.CpMin);
  figures.emplace_back("x_Cp_min", at.xCpMin);
  if (mach) {
    const CriticalMach critical =
        CriticalMachOf(body.state, body.body, solved.solution, a, m.rule, progress);
    figures.emplace_back("M_critical",
                         critical.mach.value_or(std::numeric_limits<double>::quiet_NaN()));
  }
  return figures;
}

std::vector<PanelResult> StudyPanels(const StudyBody& body, const StudySolution& solved,
                                     double alphaDegrees) {
  RequireAngleOfAttack(alphaDegrees);
  return PanelResults(body.state, SolutionAtIncidence(solved.solution, IncidenceOf(alphaDegrees)));
}

Figures StudyForces(const StudyBody& body, const StudySolution& solved, double alphaDegrees) {
  RequireAngleOfAttack(alphaDegrees);
  const Incidence a = IncidenceOf(alphaDegrees);
  const PressureForces f =
      ForcesAt(body.state, solved.solution, a, solved.solution.onsets[kPitchTurn].centre);
  const BodyFigures figures = FiguresOfPanels(body.state);
  Figures lines = {
      {"alpha_deg", f.alphaDegrees}, {"Fx", f.force[0]},  {"Fy", f.force[1]}, {"Fz", f.force[2]},
      {"Mx", f.moment[0]},           {"My", f.moment[1]}, {"Mz", f.moment[2]}};
  for (std::size_t c = 0; c < 3; ++c) {
    lines.emplace_back(std::string("CF") + "xyz"[c], ForceCoefficient(f.force[c], figures));
  }
  lines.emplace_back("CM_pitch", MomentCoefficient(f.Pitching(), figures));
  if (const auto spheroid =
          SpheroidOfProfile(body.body.xI, body.body.rI, LoopEnd(body.state.NI1))) {
    lines.emplace_back("CM_pitch_munk", MunkMomentCoefficient(*spheroid, a));
  }
  lines.emplace_back("reference_x", f.reference[0]);
  lines.emplace_back("volume", figures.volume);
  return lines;
}

}  // namespace tarvenol
