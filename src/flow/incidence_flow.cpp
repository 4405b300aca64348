#include "flow/incidence_flow.h"

#include <cmath>

#include "core/program_error.h"
#include "flow/guarded.h"
#include "flow/saved_files.h"
#include "geometry/body_of_revolution.h"
#include "results/exports.h"
#include "solver/symmetric_solve.h"

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
    Step(progress, Stage::Geometry, 0);
    report_.figures = FiguresOfPanels(s_);
    report_.solution = AddedMassesOf(s_, report_.figures, solution_, progress);
    const ModelState coarse = CoarserGeometry(s_, body_);
    const BodyFigures coarseFigures = FiguresOfPanels(coarse);
    Step(progress, Stage::Geometry, 1);
    // The body's symmetry gives the full solve's solution, within 1e-10, in a fraction of its
    // time and memory.
    const HessSolution coarseSolution =
        SymmetricSolve(coarse, IncidenceOnsetFlows(coarseFigures.centreX), progress);
    if (coarseSolution.zeroPivotRow != 0 || coarseSolution.nonFinitePanel != 0) {
      throw ProgramError(
          "The solution with half the panels around the body has no finite result, so the "
          "added masses cannot be extrapolated.");
    }
    report_.coarse = AddedMassesOf(coarse, coarseFigures, coarseSolution, progress);
    report_.coarseNI = LoopEnd(coarse.NI);
    report_.coarseNJ = LoopEnd(coarse.NJ);
    report_.ratio = static_cast<double>(LoopEnd(s_.NJ)) / report_.coarseNJ;
    report_.extrapolated = Extrapolated(report_.solution, report_.coarse, report_.ratio);
    report_.spheroid = SpheroidOfProfile(body_.xI, body_.rI, LoopEnd(s_.NI1));
  }

  void Take(Program& p, WindowOps&) override { p.bodyReport = report_; }

  const ModelState& s_;
  const BodyWork& body_;
  const HessSolution& solution_;
  BodyReport report_;
};

}  // namespace

std::optional<Spheroid> SpheroidOfBody(const Program& p) {
  return SpheroidOfProfile(p.body.xI, p.body.rI, LoopEnd(p.state.NI1));
}

std::optional<PressureForces> CurrentForces(const Program& p) {
  if (!p.state.ShowSolution) return std::nullopt;
  return ForcesAt(p.state, p.solution, IncidenceOf(p.alphaDegrees), Reference(p));
}

std::optional<ForcesTable> ForcesOverAngles(const Program& p, WindowOps& win, double from,
                                            double to, double step, Progress* progress) {
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
  }
}

ForcesTable ForcesTableOf(const Program& p, double from, double to, double step,
                          Progress* progress) {
  ForcesTable table;
  table.figures = FiguresOfPanels(p.state);
  table.spheroid = SpheroidOfBody(p);
  const auto rows = static_cast<int>(std::floor((to - from) / step + 1e-9)) + 1;
  IgnoredProgress unwatched;
  ProgressClock clock;
  for (int k = 0; k < rows; ++k) {
    // A row of forces goes over every panel: at 10 000 rows of 90 000 panels, a minute.
    clock.Tick(progress != nullptr ? *progress : unwatched, Stage::Forces,
               static_cast<double>(k) / rows);
    table.rows.push_back(
        ForcesAt(p.state, p.solution, IncidenceOf(std::min(to, from + k * step)), Reference(p)));
  }
  return table;
}

void ExportForces(const Program& p, WindowOps& win, const std::string& path, double from, double to,
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

std::vector<std::pair<std::string, double>> BodyReportLines(const BodyReport& r) {
  std::vector<std::pair<std::string, double>> lines = {
      {"volume", r.figures.volume},
      {"wetted_area", r.figures.wettedArea},
      {"centre_x", r.figures.centreX},
      {"k1", r.solution.k1},
      {"k2", r.solution.k2},
      {"kprime", r.solution.kPrime},
      {"k1_extrapolated", r.extrapolated.k1},
      {"k2_extrapolated", r.extrapolated.k2},
      {"kprime_extrapolated", r.extrapolated.kPrime},
      {"k1_coarse", r.coarse.k1},
      {"k2_coarse", r.coarse.k2},
      {"kprime_coarse", r.coarse.kPrime},
      {"coarse_ni", r.coarseNI},
      {"coarse_nj", r.coarseNJ},
      {"displaced_inertia_z", r.figures.inertiaZ},
  };
  if (r.spheroid) {
    lines.insert(lines.end(), {{"k1_lamb", r.spheroid->k1},
                               {"k2_lamb", r.spheroid->k2},
                               {"kprime_lamb", r.spheroid->kPrime}});
  }
  return lines;
}

}  // namespace tarvenol
