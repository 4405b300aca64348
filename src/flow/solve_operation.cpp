#include <optional>
#include <string>

#include "core/program_error.h"
#include "flow/operations.h"
#include "flow/view_handlers.h"
#include "report/report_file.h"
#include "report/solution_sections.h"

namespace tarvenol {
namespace {

class Solve : public Operation {
 public:
  explicit Solve(Program& p) : s_(p.state), w_(p.solver) {
    previousVinf_[0] = s_.VinfX;
    previousVinf_[1] = s_.VinfY;
    previousVinf_[2] = s_.VinfZ;
    p.state.VinfX = 1;
    p.state.VinfY = 0;
    p.state.VinfZ = 0;
  }

 private:
  void Compute(Progress& progress) override {
    report_.emplace(s_.OutFile);
    const int NPan = LoopEnd(s_.NI) * LoopEnd(s_.NJ);
    solution_ = HessSolve(s_, w_, progress, [&](const SolverWork& w) {
      Step(progress, Stage::MatrixReport, 0);
      PrintVelocityMatrices(s_, w.Vn, w.Vu, w.Vv, NPan, NPan + 1, progress);
    });
    if (solution_.nonFinitePanel != 0) throw ProgramError(NoFiniteSolution());
    Step(progress, Stage::Report, 0);
    PrintSourceStrengths(s_, w_.Sigma);
    PrintOneMinusCp(s_, solution_.OneMinusCp);
    Step(progress, Stage::Report, 1);
  }

  void Take(Program& p, WindowOps& win) override {
    ModelState& s = p.state;
    std::swap(s.OneMinusCp, solution_.OneMinusCp);
    Drawing picture;
    try {
      picture = DrawBody(s, p.view, ReadViewSettings(win), true, true);
    } catch (...) {
      std::swap(s.OneMinusCp, solution_.OneMinusCp);
      throw;
    }
    s.ShowPanels = true;
    s.ShowSolution = true;
    p.solution.Sigma = std::move(solution_.Sigma);
    p.solution.Ut = std::move(solution_.Ut);
    p.solution.Vt = std::move(solution_.Vt);
    report_->Commit();
    picture.PaintOn(win.Picture());
    win.SetVisible(ManagedControl::Command_HessPan, false);
    if (solution_.zeroPivotRow != 0) win.MessageBox(" sıfır diyagonal elemanı");
  }

  // What went wrong, and what is likely to have caused it.
  std::string NoFiniteSolution() const {
    const int nj = LoopEnd(s_.NJ);
    const int m = solution_.nonFinitePanel;
    return "Hess's panel method gives no finite result at panel (" +
           std::to_string((m - 1) / nj + 1) + ", " + std::to_string((m - 1) % nj + 1) +
           "), so the solution is not taken. The panels there are likely too slender for the "
           "arithmetic: use fewer panels along a slender body, or a profile without "
           "nearly repeated points.";
  }

  void Abandon(Program& p) override {
    p.state.VinfX = previousVinf_[0];
    p.state.VinfY = previousVinf_[1];
    p.state.VinfZ = previousVinf_[2];
  }

  const ModelState& s_;
  SolverWork& w_;
  double previousVinf_[3] = {};
  std::optional<ReportTransaction> report_;
  HessSolution solution_;
};

}  // namespace

std::unique_ptr<Operation> SolveOperation(Program& p) {
  return std::make_unique<Solve>(p);
}

}  // namespace tarvenol
