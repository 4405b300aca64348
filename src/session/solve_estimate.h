#pragma once
// What applying Hess's method to a geometry will take, known before it begins: by the full
// solve, which forms and reports the influence matrices, and by the body's symmetry.

#include <string>

#include "core/model_state.h"

namespace tarvenol {

struct SolveEstimate {
  double panels = 0;
  double availableBytes = 0;  // the memory the program can still take
  // The full solve: its three matrices, what it adds to the report, about how long it takes.
  double matrixBytes = 0;
  double reportBytes = 0;
  double seconds = 0;
  // The solve by the body's symmetry: the memory it holds, what it adds to the report, and
  // about how long it takes.
  double symmetricBytes = 0;
  double symmetricReportBytes = 0;
  double symmetricSeconds = 0;
  bool fullFits = true, symmetricFits = true;  // in the available memory
  // Whether to ask the user first: the full report would grow by more than kLargeReportBytes.
  bool large = false;
  // "4096 panels: the three matrices take 384.3 MiB of memory, and the report grows by about
  // 300.1 MiB. It takes about 2 s."
  std::string text;
  // "4096 panels by the body's symmetry: 2.0 MiB of memory, and the report grows by about
  // 86.3 KiB. It takes about 0.01 s."
  std::string symmetricText;
};

// A report growth above this is asked about before the method is applied.
inline constexpr double kLargeReportBytes = 1e9;

// Pairs of panels whose coefficients are computed to count the matrix report's bytes: a few ms,
// and a count within a percent or two of the report's.
inline constexpr int kSampledPairs = 1 << 16;

// The report's growth is counted from the text of the influence coefficients of sampledPairs
// pairs of panels, computed for it; the times come from rates measured on the benchmark's
// machine.
SolveEstimate EstimateSolve(const ModelState& s, int sampledPairs = kSampledPairs);

// "2.5 s", "40 s", "12 min": a time, about.
std::string AboutSeconds(double seconds);

}  // namespace tarvenol
