#pragma once
// Window operations for tests: the headless window, with a picture that remembers every
// drawing operation and a record of the chooser's calls.

#include <string>
#include <vector>

#include "core/canvas.h"
#include "session/commands.h"
#include "session/headless_window.h"
#include "session/program.h"

namespace tarvenol::testing {

// Made before the window that draws on it.
struct DrawingHolder {
  Drawing canvas;
};

class FakeWindow : public DrawingHolder, public HeadlessWindow {
 public:
  FakeWindow() : HeadlessWindow(canvas) {}

  void SetDirPath(const std::string& path) override {
    calls.push_back("SetDirPath " + path);
    HeadlessWindow::SetDirPath(path);
  }
  void SetFilePath(const std::string& path) override {
    calls.push_back("SetFilePath " + path);
    HeadlessWindow::SetFilePath(path);
  }

  std::vector<std::string> calls;
};

// The sphere of ni x nj panels prepared and solved through the session, as the user does it.
inline void SolveSphere(Program& program, HeadlessWindow& win, const char* ni, const char* nj) {
  win.texts[TextBox::Text_NI] = ni;
  win.texts[TextBox::Text_NJ] = nj;
  PrepareSphere(program, win);
  ApplyHessMethod(program, win);
}

}  // namespace tarvenol::testing
