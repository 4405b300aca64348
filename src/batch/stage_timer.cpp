#include "batch/stage_timer.h"

#include <cstdio>

namespace tarvenol {

bool StageTimer::Advance(Stage stage, double) {
  Switch(StageName(stage));
  return true;
}

void StageTimer::Begin(const std::string& step) {
  Switch(step);
}

void StageTimer::Switch(const std::string& name) {
  if (name == current_) return;
  const Clock::time_point now = Clock::now();
  if (!current_.empty()) {
    done_.emplace_back(current_, std::chrono::duration<double>(now - since_).count());
  }
  current_ = name;
  since_ = now;
}

std::string StageTimer::Take() {
  Switch({});
  std::string text;
  for (const auto& [name, seconds] : done_) {
    char time[32];
    std::snprintf(time, sizeof time, " %.3f s", seconds);
    text += (text.empty() ? "" : ", ") + name + time;
  }
  done_.clear();
  return text;
}

}  // namespace tarvenol
