#pragma once
// Window operations for tests: the headless window, with a picture that remembers every
// drawing operation and a record of the chooser's calls.

#include <string>
#include <vector>

#include "core/canvas.h"
#include "session/headless_window.h"

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

}  // namespace tarvenol::testing
