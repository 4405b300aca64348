#include "session/commands.h"

#include <cmath>
#include <csignal>
#include <filesystem>
#include <optional>

#include "core/counts.h"
#include "core/memory.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "geometry/profile_resample.h"
#include "report/report_locale.h"
#include "report/report_lock.h"
#include "session/guarded.h"
#include "session/operations.h"
#include "session/solve_estimate.h"
#include "solver/hess_solve.h"
#include "solver/symmetric_solve.h"
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
  return GeometryOperation(p.state, win, kind, bodyFile, ni, nj);
}

// Plans an operation under guard; nothing when it is refused.
template <typename Plan>
std::unique_ptr<Operation> GuardedPlan(WindowOps& win, Plan&& plan) {
  std::unique_ptr<Operation> operation;
  Guarded(win, [&] { operation = plan(); });
  return operation;
}

// The guards of every solve: a geometry, and one not solved yet.
bool SolveAllowed(Program& p, WindowOps& win) {
  if (!p.state.GeometryReady) {
    win.MessageBox("Geometriyi hazırla");
    return false;
  }
  // The window hides the button once the method has been applied to the geometry shown.
  if (p.state.ShowSolution) {
    win.MessageBox(
        "Hess's panel method has been applied to this geometry already; prepare a geometry to "
        "apply it again.");
    return false;
  }
  return true;
}

std::string PanelCount(const SolveEstimate& e) {
  return std::to_string(static_cast<long long>(e.panels)) + " panels";
}

std::string SymmetricOffer(const SolveEstimate& e) {
  std::string why = e.fullFits ? ", grows the report by about " + ByteText(e.reportBytes) +
                                     " and takes about " + AboutSeconds(e.seconds)
                               : ", but only " + ByteText(e.availableBytes) + " is available";
  return "Hess's panel method for " + PanelCount(e) + " needs " + ByteText(e.matrixBytes) +
         " for the full matrices" + why +
         ". Solve it by the body's symmetry instead? The report then leaves out the three "
         "influence matrices; that solve takes about " +
         AboutSeconds(e.symmetricSeconds) + " and " + ByteText(e.symmetricBytes) + " of memory.";
}

std::string NeitherFits(const SolveEstimate& e) {
  return "Hess's panel method for " + PanelCount(e) + " would need " + ByteText(e.matrixBytes) +
         " of memory for the full matrices, or " + ByteText(e.symmetricBytes) +
         " by the body's symmetry, but only " + ByteText(e.availableBytes) + " is available.";
}

// The checks the solve makes itself, of its panels and its memory, made before anything is
// begun.
void RequireSolveMemory(const ModelState& s, SolveKind kind) {
  const double ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int flows = static_cast<int>(IncidenceOnsetFlows(0).size());
  if (kind == SolveKind::Full) {
    RequireMatrixMemory(ni * nj, flows);
  } else {
    RequireMirrorPanels(s);
    RequireSymmetricSolveMemory(ni, nj, flows);
  }
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

std::unique_ptr<Operation> PlanResampleProfile(Program& p, WindowOps& win) {
  if (!p.state.GeometryReady) {
    win.MessageBox("There is no profile to resample yet: prepare a geometry first.");
    return nullptr;
  }
  return GuardedPlan(win, [&] {
    const double ni = ReadCount(win, TextBox::Text_NI, "NI", kMinNI);
    const double nj = ReadCount(win, TextBox::Text_NJ, "NJ", kMinNJ);
    BodyProfile given;
    for (int i = 1; i <= LoopEnd(p.state.NI1); ++i) {
      given.x.push_back(p.body.xI(i));
      given.r.push_back(p.body.rI(i));
    }
    // The sphere resampled is a profile like any other, no longer the one the button makes.
    const std::string name =
        p.body.kind == BodyKind::Sphere ? "the sphere, resampled" : p.state.BodyFile;
    return ResampledGeometryOperation(p.state, win, ResampleProfile(given, ni), name, nj);
  });
}

void ResampleCurrentProfile(Program& p, WindowOps& win) {
  RunHere(p, win, PlanResampleProfile(p, win));
}

std::unique_ptr<Operation> PlanApplyHessMethod(Program& p, WindowOps& win) {
  if (!SolveAllowed(p, win)) return nullptr;
  std::optional<SolveEstimate> estimate;
  Guarded(win, [&] { estimate = EstimateSolve(p.state); });
  if (!estimate) return nullptr;
  const SolveEstimate& e = *estimate;
  SolveKind kind = SolveKind::Full;
  // A long run that fills the disk, or one that cannot fit, is the user's to choose, knowing
  // what is coming; the solve by the body's symmetry is offered first.
  if (!e.fullFits || e.large) {
    if (!e.fullFits && !e.symmetricFits) {
      win.MessageBox(NeitherFits(e));
      return nullptr;
    }
    if (e.symmetricFits && win.Confirm(SymmetricOffer(e), WindowOps::Suggested::Yes)) {
      kind = SolveKind::Symmetric;
    } else if (!e.fullFits || !win.Confirm("Hess's panel method for " + e.text +
                                               " This may take a long time. Apply it?",
                                           WindowOps::Suggested::No)) {
      return nullptr;
    }
  }
  return GuardedPlan(win, [&] { return SolveOperation(p, win, kind); });
}

std::unique_ptr<Operation> PlanSolve(Program& p, WindowOps& win, SolveKind kind) {
  if (!SolveAllowed(p, win)) return nullptr;
  return GuardedPlan(win, [&] {
    RequireSolveMemory(p.state, kind);
    return SolveOperation(p, win, kind);
  });
}

void ApplyHessMethod(Program& p, WindowOps& win) {
  RunHere(p, win, PlanApplyHessMethod(p, win));
}

void ShowAbout(Program&, WindowOps& win) {
  win.ShowAboutWindow();
}

}  // namespace tarvenol
