#include "flow/command_flow.h"

#include <cmath>
#include <csignal>
#include <filesystem>

#include "core/counts.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "flow/guarded.h"
#include "flow/operations.h"
#include "flow/solve_estimate.h"
#include "report/report_locale.h"
#include "report/report_lock.h"
#include "solver/hess_solve.h"
#include "solver/threads.h"

namespace tarvenol {
namespace {

double ReadCount(WindowOps& win, TextBox box, const char* name, double least) {
  const std::string text = win.GetText(box);
  const double count = TextToNumber(text);
  if (!IsWholeCount(count, least, kMaxCount)) {
    throw ProgramError(std::string(name) + " must be a whole number from " +
                       std::to_string(static_cast<long>(least)) + " to " +
                       std::to_string(static_cast<long>(kMaxCount)) + "; " + Shown(text) +
                       " is not.");
  }
  return count;
}

std::unique_ptr<Operation> PlanGeometry(Program& p, WindowOps& win, BodyKind kind,
                                        const std::string& bodyFile) {
  // A body file brings its own point count, so only the sphere needs the typed NI.
  const double ni = kind == BodyKind::Sphere ? ReadCount(win, TextBox::Text_NI, "NI", kMinNI)
                                             : TextToNumber(win.GetText(TextBox::Text_NI));
  const double nj = ReadCount(win, TextBox::Text_NJ, "NJ", kMinNJ);
  return GeometryOperation(p.state, kind, bodyFile, ni, nj);
}

// Plans an operation under guard; nothing when it is refused.
template <typename Plan>
std::unique_ptr<Operation> GuardedPlan(WindowOps& win, Plan&& plan) {
  std::unique_ptr<Operation> operation;
  Guarded(win, [&] { operation = plan(); });
  return operation;
}

void RunHere(Program& p, WindowOps& win, std::unique_ptr<Operation> operation) {
  IgnoredProgress unseen;
  RunOperation(p, win, std::move(operation), unseen);
}

}  // namespace

void RunOperation(Program& p, WindowOps& win, std::unique_ptr<Operation> operation,
                  Progress& progress) {
  if (!operation) return;
  operation->Run(progress);
  operation->Finish(p, win);
}

bool StartUp(Program& p, WindowOps& win) {
  ModelState& s = p.state;
  s.PI = std::atan(1.0) * 4;
  s.TwoPI = 2 * s.PI;
  s.FourPI = 4 * s.PI;
  s.OutFile = "Tarvenol.txt";
  s.DecimalSeparator = UserDecimalSeparator();
  CapThreadsAtProcessors();
  // A write past a limit on file sizes then fails, and is told, instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    p.report = ReportLock::TakeAndEmpty(s.OutFile);
  } catch (const ReportInUse& e) {
    win.MessageBox(e.what());
    return false;
  } catch (const ProgramError& e) {
    // The program goes on: once the obstacle is gone, its sections are written.
    win.MessageBox(e.what());
  }
  return true;
}

void ShowSphereCommand(Program&, WindowOps& win) {
  win.SetVisible(ManagedControl::Command_Sphere, true);
}

std::unique_ptr<Operation> PlanPrepareSphere(Program& p, WindowOps& win) {
  return GuardedPlan(win, [&] { return PlanGeometry(p, win, BodyKind::Sphere, {}); });
}

void PrepareSphere(Program& p, WindowOps& win) {
  RunHere(p, win, PlanPrepareSphere(p, win));
}

void ShowFileChooser(Program&, WindowOps& win) {
  win.SetVisible(ManagedControl::Frame_IOWindow, true);
}

void HideFileChooser(Program&, WindowOps& win) {
  win.SetVisible(ManagedControl::Frame_IOWindow, false);
}

void DriveChanged(Program&, WindowOps& win) {
  Guarded(win, [&] { win.SetDirPath(win.GetDrive()); });
}

void DirectoryChanged(Program&, WindowOps& win) {
  Guarded(win, [&] { win.SetFilePath(win.GetDirPath()); });
}

std::unique_ptr<Operation> PlanPrepareBodyFile(Program& p, WindowOps& win) {
  return GuardedPlan(win, [&] {
    const auto path = std::filesystem::path(win.GetFilePath()) / win.GetFileName();
    return PlanGeometry(p, win, BodyKind::GivenBody, path.string());
  });
}

void PrepareBodyFile(Program& p, WindowOps& win) {
  RunHere(p, win, PlanPrepareBodyFile(p, win));
}

std::unique_ptr<Operation> PlanApplyHessMethod(Program& p, WindowOps& win) {
  if (!p.state.GeometryReady) {
    win.MessageBox("Geometriyi hazırla");
    return nullptr;
  }
  // The window hides the button once the method has been applied to the geometry shown.
  if (p.state.ShowSolution) {
    win.MessageBox(
        "Hess's panel method has been applied to this geometry already; prepare a geometry to "
        "apply it again.");
    return nullptr;
  }
  return GuardedPlan(win, [&]() -> std::unique_ptr<Operation> {
    const SolveEstimate estimate = EstimateSolve(p.state);
    // What cannot fit is refused at once: a question about it would only lead to the refusal.
    RequireMatrixMemory(estimate.panels, static_cast<int>(IncidenceOnsetFlows(0).size()));
    // A long run that fills the disk is the user's to choose, knowing what is coming.
    if (estimate.large && !win.Confirm("Hess's panel method for " + estimate.text +
                                       " This may take a long time. Apply it?")) {
      return nullptr;
    }
    return SolveOperation(p);
  });
}

void ApplyHessMethod(Program& p, WindowOps& win) {
  RunHere(p, win, PlanApplyHessMethod(p, win));
}

void ShowAbout(Program&, WindowOps& win) {
  win.ShowAboutWindow();
}

}  // namespace tarvenol
