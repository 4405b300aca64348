#include "session/incidence_commands.h"

#include <cmath>

#include "core/program_error.h"
#include "geometry/body_of_revolution.h"
#include "results/exports.h"
#include "session/field_commands.h"
#include "session/guarded.h"
#include "session/mach_commands.h"
#include "session/saved_files.h"

namespace tarvenol {
namespace {

// Rows of a table of forces, at most.
constexpr double kMaxForceRows = 10000;

Vector3 Reference(const Program& p) {
  return p.solution.onsets[kPitchTurn].centre;
}

class BodyFiguresOperation : public Operation {
 public:
  explicit BodyFiguresOperation(const Program& p)
      : s_(p.state), body_(p.body), solution_(p.solution) {}

 private:
  void Compute(Progress& progress) override {
    report_ = BodyReportOf(s_, body_, solution_, progress);
  }

  void Take(Program& p, WindowOps&) override { p.results.bodyReport = report_; }

  const ModelState& s_;
  const BodyWork& body_;
  const HessSolution& solution_;
  BodyReport report_;
};

// The table of the solution shown over from..to by step; throws Cancelled when progress asks
// to stop.
ForcesTable MakeForcesTable(const Program& p, double from, double to, double step,
                            Progress* progress) {
  ForcesTable table;
  table.figures = FiguresOfPanels(p.state);
  // Munk's moment is the incompressible flow's.
  if (p.mach.mach == 0) table.spheroid = SpheroidOfBody(p);
  const AddedMassCoefficients sources = TranslationAddedMasses(p.state, table.figures, p.solution);
  table.sourceMunk = 2 * (sources.k2 - sources.k1);
  const auto rows = static_cast<int>(std::floor((to - from) / step + 1e-9)) + 1;
  IgnoredProgress unwatched;
  ProgressClock clock;
  for (int k = 0; k < rows; ++k) {
    // A row of forces goes over every panel: at 10 000 rows of 90 000 panels, a minute.
    clock.Tick(progress != nullptr ? *progress : unwatched, Stage::Forces,
               static_cast<double>(k) / rows);
    table.rows.push_back(
        ForcesShownAt(p, IncidenceOf(std::min(to, from + k * step)), Reference(p)));
  }
  return table;
}

}  // namespace

std::optional<Spheroid> SpheroidOfBody(const Program& p) {
  return SpheroidOfProfile(p.body.xI, p.body.rI, LoopEnd(p.state.NI1));
}

std::optional<PressureForces> CurrentForces(const Program& p) {
  if (!p.state.ShowSolution) return std::nullopt;
  try {
    return ForcesShownAt(p, IncidenceOf(p.alphaDegrees), Reference(p));
  } catch (const ProgramError&) {
    // Kármán–Tsien's correction without a value there: SetMach and SetAngleOfAttack refuse it.
    return std::nullopt;
  }
}

std::optional<ForcesTable> ForcesOverAngles(Program& p, WindowOps& win, double from, double to,
                                            double step, Progress* progress) {
  if (!p.state.ShowSolution) {
    win.MessageBox("There are no forces yet: apply Hess's panel method first.");
    return std::nullopt;
  }
  const double rows = std::floor((to - from) / step + 1e-9) + 1;
  if (!(std::fabs(from) <= kMaxIncidenceDegrees && std::fabs(to) <= kMaxIncidenceDegrees &&
        from <= to && step > 0 && rows <= kMaxForceRows)) {
    win.MessageBox(
        "The angles of a table of forces run from one angle to another, each from -90 to 90 "
        "degrees, by a step above 0, in at most 10000 rows.");
    return std::nullopt;
  }
  try {
    return ForcesTableOf(p, from, to, step, progress);
  } catch (const Cancelled&) {
    return std::nullopt;
  } catch (const ProgramError& e) {
    win.MessageBox(e.what());
    return std::nullopt;
  }
}

ForcesTable ForcesTableOf(Program& p, double from, double to, double step, Progress* progress) {
  std::optional<ForcesOverRange>& kept = p.results.forces;
  if (!kept || kept->solution != SolutionKey(p) || !(kept->mach == CurrentMach(p)) ||
      kept->from != from || kept->to != to || kept->step != step) {
    kept.reset();
    kept = ForcesOverRange{MakeForcesTable(p, from, to, step, progress),
                           from,
                           to,
                           step,
                           CurrentMach(p),
                           SolutionKey(p)};
  }
  ForcesTable table = kept->table;
  table.shown = CurrentForces(p);
  return table;
}

void ExportForces(Program& p, WindowOps& win, const std::string& path, double from, double to,
                  double step, Progress* progress) {
  const std::optional<ForcesTable> table = ForcesOverAngles(p, win, from, to, step, progress);
  if (!table) return;
  Guarded(win, [&] {
    WriteWholeFile(
        path, "table of forces", [&](FileSink& out) { WriteForcesCsv(out, *table); }, HeldFiles(p));
  });
}

std::unique_ptr<Operation> PlanBodyFigures(Program& p, WindowOps& win) {
  if (!p.state.ShowSolution) {
    win.MessageBox("There are no added masses yet: apply Hess's panel method first.");
    return nullptr;
  }
  if (p.solution.zeroPivotRow != 0) {
    win.MessageBox(
        "The solution met a zero diagonal element, so it gives no added masses: prepare the "
        "geometry with other panel counts.");
    return nullptr;
  }
  return std::make_unique<BodyFiguresOperation>(p);
}

}  // namespace tarvenol
