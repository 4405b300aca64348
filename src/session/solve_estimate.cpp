#include "session/solve_estimate.h"

#include <cmath>
#include <cstdio>

#include "core/memory.h"
#include "report/solution_sections.h"
#include "solver/coefficient_sample.h"
#include "solver/hess_solve.h"
#include "solver/symmetric_solve.h"
#include "solver/threads.h"

namespace tarvenol {
namespace {

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

// The three matrix sections, from the text of a sample of their values.
double MatrixReportBytes(const ModelState& s, double panels, int sampledPairs) {
  const CoefficientSample sample = SampleInfluenceCoefficients(s, sampledPairs);
  const char separator = s.DecimalSeparator;
  const double values = sample.pairsPerValue * (MatrixValuesBytes(sample.Vn, separator) +
                                                MatrixValuesBytes(sample.Vu, separator) +
                                                MatrixValuesBytes(sample.Vv, separator)) +
                        sample.rowsPerValue * MatrixValuesBytes(sample.rightHandSide, separator);
  return VelocityMatricesBytes(values, panels);
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
  const double tables = SolutionTablesBytes(ni, nj);
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
