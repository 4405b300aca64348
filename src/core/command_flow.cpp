#include "core/command_flow.h"

#include <cmath>
#include <filesystem>
#include <new>

#include "core/program_error.h"
#include "core/report_locale.h"
#include "core/text_number.h"
#include "geometry/panels.h"
#include "geometry/profile_checks.h"
#include "report/report_file.h"

namespace tarvenol {
namespace {

// Runs an operation; a failure shows its message instead of ending the program.
template <typename Operation>
void Guarded(WindowOps& win, Operation&& operation) {
  try {
    operation();
  } catch (const ProgramError& e) {
    win.MessageBox(e.what());
  } catch (const std::bad_alloc&) {
    win.MessageBox("There is not enough memory for this operation.");
  } catch (const std::exception& e) {
    // A fault of the system library (a path it cannot take, say): said, not fatal.
    win.MessageBox(std::string("The operation could not be done: ") + e.what());
  }
}

double ReadCount(WindowOps& win, TextBox box, const char* name) {
  const std::string text = win.GetText(box);
  const double count = TextToNumber(text);
  if (!IsWholeCount(count, kMaxCount)) {
    throw ProgramError(std::string(name) + " must be a whole number from 1 to " +
                       std::to_string(static_cast<long>(kMaxCount)) + "; \"" + text + "\" is not.");
  }
  return count;
}

void PrepareGeometry(Program& p, WindowOps& win, BodyKind kind, const std::string& bodyFile) {
  // A body file brings its own point count, so only the sphere needs the typed NI.
  const double ni = kind == BodyKind::Sphere ? ReadCount(win, TextBox::Text_NI, "NI")
                                             : TextToNumber(win.GetText(TextBox::Text_NI));
  const double nj = ReadCount(win, TextBox::Text_NJ, "NJ");
  const std::string typedNI = win.GetText(TextBox::Text_NI);

  // Built beside the state in use, which it replaces only when every step has succeeded.
  ModelState next = p.state;
  BodyWork nextBody = p.body;
  if (kind == BodyKind::GivenBody) next.BodyFile = bodyFile;
  next.NI = ni;
  next.NI1 = next.NI + 1;
  next.NJ = nj;
  next.NJ1 = next.NJ + 1;
  try {
    BuildBodyGeometry(next, nextBody, win, kind);
    BuildPanels(next);
  } catch (...) {
    win.SetText(TextBox::Text_NI, typedNI);
    throw;
  }
  next.ShowPanels = true;
  next.ShowSolution = false;
  next.GeometryReady = true;
  p.state = std::move(next);
  p.body = std::move(nextBody);
  DrawBody(p.state, p.view, win, p.state.ShowPanels, p.state.ShowSolution);
  if (kind == BodyKind::GivenBody) {
    for (const std::string& warning : ProfileWarnings(p.state, p.body)) win.MessageBox(warning);
  }
}

}  // namespace

void StartUp(Program& p, WindowOps& win) {
  ModelState& s = p.state;
  s.PI = std::atan(1.0) * 4;
  s.TwoPI = 2 * s.PI;
  s.FourPI = 4 * s.PI;
  s.OutFile = "Tarvenol.txt";
  s.DecimalSeparator = UserDecimalSeparator();
  Guarded(win, [&] { EmptyReport(s.OutFile); });
}

void ShowSphereCommand(Program&, WindowOps& win) {
  win.SetVisible(ManagedControl::Command_Sphere, true);
}

void PrepareSphere(Program& p, WindowOps& win) {
  Guarded(win, [&] {
    PrepareGeometry(p, win, BodyKind::Sphere, {});
    win.SetVisible(ManagedControl::Command_Sphere, false);
    win.SetVisible(ManagedControl::Command_HessPan, true);
  });
}

void ShowFileChooser(Program&, WindowOps& win) {
  win.SetVisible(ManagedControl::Frame_IOWindow, true);
}

void DriveChanged(Program&, WindowOps& win) {
  win.SetDirPath(win.GetDrive());
}

void DirectoryChanged(Program&, WindowOps& win) {
  win.SetFilePath(win.GetDirPath());
}

void PrepareBodyFile(Program& p, WindowOps& win) {
  Guarded(win, [&] {
    const auto path = std::filesystem::path(win.GetFilePath()) / win.GetFileName();
    PrepareGeometry(p, win, BodyKind::GivenBody, path.string());
    win.SetVisible(ManagedControl::Frame_IOWindow, false);
    win.SetVisible(ManagedControl::Command_HessPan, true);
  });
}

void ApplyHessMethod(Program& p, WindowOps& win) {
  ModelState& s = p.state;
  if (!s.GeometryReady) {
    win.MessageBox("Geometriyi hazırla");
    return;
  }
  Guarded(win, [&] {
    const double vinf[] = {s.VinfX, s.VinfY, s.VinfZ};
    s.VinfX = 1;
    s.VinfY = 0;
    s.VinfZ = 0;
    try {
      HessSolve(s, p.solver, win);
    } catch (...) {
      s.VinfX = vinf[0];
      s.VinfY = vinf[1];
      s.VinfZ = vinf[2];
      throw;
    }
    s.ShowPanels = true;
    s.ShowSolution = true;
    DrawBody(s, p.view, win, s.ShowPanels, s.ShowSolution);
    win.SetVisible(ManagedControl::Command_HessPan, false);
  });
}

void ShowAbout(Program&, WindowOps& win) {
  win.ShowAboutWindow();
}

}  // namespace tarvenol
