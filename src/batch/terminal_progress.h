#pragma once
// Progress shown on a terminal: one line for each stage, written again in place as the work
// goes on, so that a long run shows where it is without filling the screen.

#include <cstdio>

#include "core/progress.h"

namespace tarvenol {

class TerminalProgress : public Progress {
 public:
  explicit TerminalProgress(std::FILE* out) : out_(out) {}
  bool Advance(Stage stage, double fraction) override;
  // Ends the line of the last stage shown.
  void End();

 private:
  std::FILE* out_;
  bool lineOpen_ = false;
  Stage stage_ = Stage::Geometry;
  int percent_ = -1;
};

}  // namespace tarvenol
