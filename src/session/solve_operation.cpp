#include <optional>
#include <string>

#include "core/program_error.h"
#include "geometry/body_figures.h"
#include "report/report_file.h"
#include "report/solution_sections.h"
#include "session/mach_commands.h"
#include "session/operations.h"
#include "session/picture_aside.h"
#include "solver/symmetric_solve.h"

namespace tarvenol {
namespace {

class Solve : public Operation {
 public:
  Solve(Program& p, WindowOps& win, SolveKind kind)
      : s_(p.state),
        w_(p.solver),
        kind_(kind),
        onsets_(IncidenceOnsetFlows(FiguresOfPanels(p.state).centreX)),
        body_(p.body),
        mach_(p.mach),
        picture_(win) {}

 private:
  void Compute(Progress& progress) override {
    report_.emplace(s_.OutFile);
    if (kind_ == SolveKind::Full) {
      const int NPan = LoopEnd(s_.NI) * LoopEnd(s_.NJ);
      solution_ = HessSolve(s_, w_, onsets_, progress, [&](const SolverWork& w) {
        Step(progress, Stage::MatrixReport, 0);
        PrintVelocityMatrices(s_, w.Vn, w.Vu, w.Vv, NPan, NPan + 1, progress);
      });
    } else {
      // The matrices of an earlier full solve are of no further use, and would only crowd this
      // one's memory.
      w_ = {};
      solution_ = SymmetricSolve(s_, onsets_, progress);
      if (solution_.nonFinitePanel == 0) PrintMatricesNotFormed(s_);
    }
    if (solution_.nonFinitePanel != 0) throw ProgramError(NoFiniteSolution());
    Step(progress, Stage::Report, 0);
    PrintSourceStrengths(s_, solution_.flows[0].Sigma);
    PrintOneMinusCp(s_, solution_.OneMinusCp);
    Step(progress, Stage::Report, 1);
    picture_.Draw(s_, solution_.OneMinusCp, true, true, progress);
    // The results' Mach number needs the affine body of this solution; a body without one
    // still has its solution, at M = 0.
    try {
      affine_ = AffineBodyFor(s_, body_, mach_, progress);
    } catch (const ProgramError& e) {
      machFault_ = e.what();
    }
  }

  void Take(Program& p, WindowOps& win) override {
    ModelState& s = p.state;
    std::swap(s.OneMinusCp, solution_.OneMinusCp);
    try {
      picture_.Follow(s, win, true, true);
    } catch (...) {
      std::swap(s.OneMinusCp, solution_.OneMinusCp);
      throw;
    }
    s.ShowPanels = true;
    s.ShowSolution = true;
    // The report's right-hand side is the first onset flow, the axial stream.
    s.VinfX = 1;
    s.VinfY = 0;
    s.VinfZ = 0;
    // 1 - Cp now lives in the model state; what was swapped out of it goes.
    solution_.OneMinusCp = {};
    const bool zeroPivot = solution_.zeroPivotRow != 0;
    p.solution = std::move(solution_);
    p.results.bodyReport.reset();
    p.affine = std::move(affine_);
    if (!machFault_.empty()) p.mach = {};
    ++p.solutionCount;
    report_->Commit();
    picture_.Show(p.view, win);
    win.SetVisible(ManagedControl::Command_HessPan, false);
    if (zeroPivot) win.MessageBox(" sıfır diyagonal elemanı");
    if (!machFault_.empty()) win.MessageBox(machFault_ + " The Mach number of the results is 0.");
  }

  // What went wrong, and what is likely to have caused it.
  std::string NoFiniteSolution() const {
    const int nj = LoopEnd(s_.NJ);
    const int m = solution_.nonFinitePanel;
    return "Hess's panel method gives no finite result at panel (" +
           std::to_string(PanelOfNumber(m, nj).i) + ", " + std::to_string(PanelOfNumber(m, nj).j) +
           "), so the solution is not taken. The panels there are likely too slender for the "
           "arithmetic: use fewer panels along a slender body, or a profile without "
           "nearly repeated points.";
  }

  const ModelState& s_;
  SolverWork& w_;
  const SolveKind kind_;
  // The x of the pitch turn's axis is the body's centre of volume.
  const std::vector<OnsetFlow> onsets_;
  const BodyWork& body_;
  const MachSetting mach_;
  std::optional<AffineBody> affine_;
  std::string machFault_;
  std::optional<ReportTransaction> report_;
  HessSolution solution_;
  PictureAside picture_;
};

}  // namespace

std::unique_ptr<Operation> SolveOperation(Program& p, WindowOps& win, SolveKind kind) {
  return std::make_unique<Solve>(p, win, kind);
}

}  // namespace tarvenol
