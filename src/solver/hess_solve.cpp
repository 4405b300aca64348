#include "solver/hess_solve.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <string>

#include "core/memory.h"
#include "core/program_error.h"
#include "solver/gauss_solve.h"
#include "solver/influence_matrices.h"
#include "solver/threads.h"

namespace tarvenol {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Panel numbers, and the column NPan + 1, are ints.
constexpr double kMaxPanels = INT_MAX - 2;

// Refuses a panel count whose three matrices, with the stacks of the threads that compute
// them, would not fit, before any is allocated.
void RequireMatrixMemory(double panels) {
  const std::string count = std::to_string(static_cast<long long>(panels));
  const double bytes = 3 * (panels + 1) * (panels + 2) * static_cast<double>(sizeof(double));
  RequireMemory(bytes + ThreadStackBytes(), "Hess's panel method for " + count + " panels");
  if (panels > kMaxPanels) {
    throw ProgramError("Hess's panel method takes at most " +
                       std::to_string(static_cast<long long>(kMaxPanels)) + " panels, not " +
                       count + ".");
  }
}

// The tangential surface velocity by panel, free stream plus every source panel, along the
// panel's axes Xsi and Ita, and its square, 1 - Cp.
void SurfaceVelocities(const ModelState& s, const SolverWork& w, int NPan, HessSolution& out) {
  const int nj = LoopEnd(s.NJ);
  out.Ut = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  out.Vt = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  out.OneMinusCp = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  const double* sigma = &w.SigmaV(0);
#pragma omp parallel for schedule(static)
  for (int m = 1; m <= NPan; ++m) {
    const int i = (m - 1) / nj + 1;
    const int j = (m - 1) % nj + 1;
    double ut = s.XsiX(i, j) * s.VinfX + s.XsiY(i, j) * s.VinfY + s.XsiZ(i, j) * s.VinfZ;
    double vt = s.ItaX(i, j) * s.VinfX + s.ItaY(i, j) * s.VinfY + s.ItaZ(i, j) * s.VinfZ;
    const double* vu = w.Vu.Row(static_cast<std::size_t>(m));
    const double* vv = w.Vv.Row(static_cast<std::size_t>(m));
    for (int n = 1; n <= NPan; ++n) {
      ut = ut + sigma[n] * vu[n];
      vt = vt + sigma[n] * vv[n];
    }
    out.Ut(i, j) = ut;
    out.Vt(i, j) = vt;
    out.OneMinusCp(i, j) = ut * ut + vt * vt;
  }
}

}  // namespace

HessSolution HessSolve(const ModelState& s, SolverWork& w, Progress& progress,
                       const MatricesReady& matricesReady) {
  const int ni = LoopEnd(s.NI);
  const int nj = LoopEnd(s.NJ);
  // The previous run's matrices go first, so that two sets are never held at once.
  w.Vn = {};
  w.Vu = {};
  w.Vv = {};
  RequireMatrixMemory(static_cast<double>(ni) * static_cast<double>(nj));
  const int NPan = nj * ni;
  const auto rows = static_cast<std::size_t>(NPan);
  const std::size_t columns = rows + 1;
  w.Vu = Array2(rows, columns);
  w.Vv = Array2(rows, columns);
  w.Vn = Array2(rows, columns);
  w.SigmaV = Array1(rows);
  w.Sigma = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  w.seconds = {};
  StartThreads();

  auto start = Clock::now();
  Step(progress, Stage::Coefficients, 0);
  HessSolution solution;
  solution.nonFinitePanel = BuildInfluenceMatrices(s, w, NPan, progress);
  Step(progress, Stage::Coefficients, 1);
  w.seconds.coefficients = SecondsSince(start);
  if (solution.nonFinitePanel != 0) return solution;

  start = Clock::now();
  if (matricesReady) matricesReady(w);
  w.seconds.matrixReport = SecondsSince(start);

  start = Clock::now();
  Step(progress, Stage::Elimination, 0);
  solution.zeroPivotRow = GaussSolve(NPan, w.Vn, w.SigmaV, progress);
  w.seconds.solve = SecondsSince(start);

  for (int i = 1, m = 0; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) w.Sigma(i, j) = w.SigmaV(++m);
  }
  solution.Sigma = w.Sigma;

  start = Clock::now();
  Step(progress, Stage::SurfaceVelocity, 0);
  SurfaceVelocities(s, w, NPan, solution);
  Step(progress, Stage::SurfaceVelocity, 1);
  w.seconds.oneMinusCp = SecondsSince(start);
  for (int i = 1, m = 1; i <= ni && solution.nonFinitePanel == 0; ++i) {
    for (int j = 1; j <= nj; ++j, ++m) {
      if (!std::isfinite(w.Sigma(i, j)) || !std::isfinite(solution.OneMinusCp(i, j))) {
        solution.nonFinitePanel = m;
        break;
      }
    }
  }
  return solution;
}

}  // namespace tarvenol
