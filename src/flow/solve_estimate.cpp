#include "flow/solve_estimate.h"

#include "core/memory.h"
#include "solver/hess_solve.h"

namespace tarvenol {
namespace {

// A value of the matrix sections, " -0.0123" at most and " 0.50" at least, takes about this
// many bytes on average; the sections are almost all of the growth.
constexpr double kBytesPerMatrixValue = 7;

}  // namespace

SolveEstimate EstimateSolve(const ModelState& s) {
  SolveEstimate e;
  e.panels = static_cast<double>(LoopEnd(s.NI)) * static_cast<double>(LoopEnd(s.NJ));
  e.matrixBytes = MatrixMemoryBytes(e.panels);
  e.reportBytes = kBytesPerMatrixValue * e.panels * (3 * e.panels + 1);
  e.large = e.reportBytes > kLargeReportBytes;
  e.text = std::to_string(static_cast<long long>(e.panels)) + " panels: the three matrices take " +
           ByteText(e.matrixBytes) + " of memory, and the report grows by about " +
           ByteText(e.reportBytes) + ".";
  return e;
}

}  // namespace tarvenol
