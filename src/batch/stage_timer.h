#pragma once
// The wall time of each stage an operation goes through, for the batch tool's --timings.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"

namespace tarvenol {

class StageTimer : public Progress {
 public:
  // A stage begins when work first reports it and ends when work reports another.
  bool Advance(Stage stage, double fraction) override;
  // Marks a step of the caller's own, outside any stage, as begun.
  void Begin(const std::string& step);
  // "influence coefficients 1.023 s, ..." for the stages and steps since the last call, the
  // last of them ending now.
  std::string Take();

 private:
  using Clock = std::chrono::steady_clock;
  void Switch(const std::string& name);

  std::vector<std::pair<std::string, double>> done_;
  std::string current_;
  Clock::time_point since_ = Clock::now();
};

}  // namespace tarvenol
