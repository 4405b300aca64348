#include "batch/terminal_progress.h"

#include <cmath>

namespace tarvenol {

bool TerminalProgress::Advance(Stage stage, double fraction) {
  if (lineOpen_ && stage != stage_) End();
  const int percent = static_cast<int>(std::floor(100 * fraction));
  if (lineOpen_ && percent == percent_) return true;
  std::fprintf(out_, "\r%s %3d %%", StageName(stage), percent);
  std::fflush(out_);
  lineOpen_ = true;
  stage_ = stage;
  percent_ = percent;
  return true;
}

void TerminalProgress::End() {
  if (!lineOpen_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  lineOpen_ = false;
  percent_ = -1;
}

}  // namespace tarvenol
