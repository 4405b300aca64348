#include "session/solve_estimate.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/memory.h"
#include "report/number_format.h"
#include "report/solution_sections.h"
#include "solver/coefficient_sample.h"
#include "solver/hess_solve.h"
#include "solver/symmetric_solve.h"
#include "solver/threads.h"

namespace tarvenol {
namespace {

// A source strength or 1 - Cp with "#0.#####0" and two blanks: "-0.466134  " and "1.745069  ",
// a few shorter where trailing zeros are dropped.
constexpr double kBytesPerSolutionValue = 10.3;

// Rates of one thread, measured with the shipped batch tool on the benchmark's machine (AMD EPYC,
// Zen 4, AVX-512 path): the kernel of the influence coefficients, the elimination's multiply and
// subtract pairs, the formatting of the matrix report, the writing of the panel tables, and the
// expansion of the modes to the panels of one onset flow. The far field's point sources, with
// the rules that choose them, run 40 times the kernel's rate (measured on an Intel Xeon, AVX-512
// path).
constexpr double kEvaluationsPerSecond = 1.2e7;
constexpr double kEliminationPerSecond = 1.5e10;
constexpr double kMatrixReportBytesPerSecond = 3.6e8;
constexpr double kPanelTableBytesPerSecond = 7e7;
constexpr double kExpandedPanelsPerSecond = 1e7;
constexpr double kFarPointsPerSecond = 5e8;

// Line ends, and a title between empty lines: "\r\n" TITLE "\r\n\r\n".
constexpr double kLineEnd = 2;
double TitleBytes(std::string_view title) {
  return static_cast<double>(title.size()) + 3 * kLineEnd;
}

constexpr std::string_view kMatrixTitles[] = {"Hess method - Normal velocities",
                                              "u Tangential velocities", "v Tangential velocities"};

// "Source strengths" and "1-Cp": one line per ring.
double PanelTablesBytes(double ni, double nj) {
  return TitleBytes("Source strengths") + TitleBytes("1-Cp") +
         2 * ni * (nj * kBytesPerSolutionValue + kLineEnd);
}

// A blank and the value with "#0.###0", for every value.
double MatrixValueBytes(const std::vector<double>& values, char separator) {
  double bytes = 0;
  char text[kMaxNumberText];
  for (const double v : values) {
    bytes += 1 + static_cast<double>(FormatNumber(text, v, 4, separator) - text);
  }
  return bytes;
}

// The three matrix sections, from the text of a sample of their values.
double MatrixReportBytes(const ModelState& s, double panels, int sampledPairs) {
  const CoefficientSample sample = SampleInfluenceCoefficients(s, sampledPairs);
  const char separator = s.DecimalSeparator;
  double bytes = sample.pairsPerValue *
                 (MatrixValueBytes(sample.Vn, separator) + MatrixValueBytes(sample.Vu, separator) +
                  MatrixValueBytes(sample.Vv, separator));
  bytes += sample.rowsPerValue * MatrixValueBytes(sample.rightHandSide, separator);
  for (const std::string_view title : kMatrixTitles) bytes += TitleBytes(title);
  return bytes + 3 * panels * kLineEnd;
}

double MatricesNotFormedBytes() {
  double bytes = 0;
  for (const std::string_view title : kMatrixTitles) {
    bytes += TitleBytes(title) + static_cast<double>(kMatrixNotFormed.size()) + kLineEnd;
  }
  return bytes;
}

}  // namespace

std::string AboutSeconds(double seconds) {
  char text[32];
  if (seconds < 1) {
    std::snprintf(text, sizeof text, "%.2g s", seconds);
  } else if (seconds < 10) {
    std::snprintf(text, sizeof text, "%.1f s", seconds);
  } else if (seconds < 120) {
    std::snprintf(text, sizeof text, "%.0f s", seconds);
  } else if (seconds < 7200) {
    std::snprintf(text, sizeof text, "%.0f min", seconds / 60);
  } else {
    std::snprintf(text, sizeof text, "%.0f h", seconds / 3600);
  }
  return text;
}

SolveEstimate EstimateSolve(const ModelState& s, int sampledPairs) {
  SolveEstimate e;
  const double ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int flows = static_cast<int>(IncidenceOnsetFlows(0).size());
  const double threads = SolverThreads();
  e.panels = ni * nj;
  e.availableBytes = AvailableMemoryBytes();

  e.matrixBytes = MatrixBytes(e.panels, flows);
  const double tables = PanelTablesBytes(ni, nj);
  const double matrixReport = MatrixReportBytes(s, e.panels, sampledPairs);
  e.reportBytes = matrixReport + tables;
  e.seconds = e.panels * e.panels / (kEvaluationsPerSecond * threads) +
              matrixReport / (kMatrixReportBytesPerSecond * threads) +
              e.panels * e.panels * e.panels / 3 / (kEliminationPerSecond * threads) +
              tables / kPanelTableBytesPerSecond;

  e.symmetricBytes = SymmetricSolveBytes(ni, nj, flows, static_cast<int>(threads));
  e.symmetricReportBytes = MatricesNotFormedBytes() + tables;
  const ModeSumsWork work = SymmetricSolveWork(s);
  e.symmetricSeconds = work.kernelCalls / (kEvaluationsPerSecond * threads) +
                       work.farPoints / (kFarPointsPerSecond * threads) +
                       2 * ni * ni * ni / 3 / (kEliminationPerSecond * threads) +
                       flows * e.panels / (kExpandedPanelsPerSecond * threads) +
                       tables / kPanelTableBytesPerSecond;

  e.fullFits = e.matrixBytes <= e.availableBytes;
  e.symmetricFits = e.symmetricBytes <= e.availableBytes;
  e.large = e.reportBytes > kLargeReportBytes;
  const std::string panels = std::to_string(static_cast<long long>(e.panels)) + " panels";
  e.text = panels + ": the three matrices take " + ByteText(e.matrixBytes) +
           " of memory, and the report grows by about " + ByteText(e.reportBytes) +
           ". It takes about " + AboutSeconds(e.seconds) + ".";
  e.symmetricText = panels + " by the body's symmetry: " + ByteText(e.symmetricBytes) +
                    " of memory, and the report grows by about " +
                    ByteText(e.symmetricReportBytes) + ". It takes about " +
                    AboutSeconds(e.symmetricSeconds) + ".";
  return e;
}

}  // namespace tarvenol
