#pragma once
// What applying Hess's method to a geometry will take, known before it begins.

#include <string>

#include "core/model_state.h"

namespace tarvenol {

struct SolveEstimate {
  double panels = 0;
  double matrixBytes = 0;  // the three influence matrices
  double reportBytes = 0;  // what the report grows by, about
  // Whether to ask the user first: the report would grow by more than kLargeReportBytes.
  bool large = false;
  // "4096 panels: the three matrices take 384.3 MiB of memory, and the report grows by about
  // 350.3 MiB."
  std::string text;
};

// A report growth above this is asked about before the method is applied.
inline constexpr double kLargeReportBytes = 1e9;

SolveEstimate EstimateSolve(const ModelState& s);

}  // namespace tarvenol
