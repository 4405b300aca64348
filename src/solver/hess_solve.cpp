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

// Panel numbers, and the columns of the right-hand sides, are ints.
constexpr double kMaxPanels = INT_MAX - 8;

// The most onset flows one elimination carries.
constexpr std::size_t kMaxFlows = 4;

// The tangential surface velocity by panel in each onset flow, the flow plus every source
// panel, along the panel's axes Xsi and Ita; the first flow's square is 1 - Cp.
void SurfaceVelocities(const ModelState& s, const SolverWork& w,
                       const std::vector<OnsetFlow>& onsets, const std::vector<Array1>& sigmas,
                       int NPan, HessSolution& out) {
  const int nj = LoopEnd(s.NJ);
  const std::size_t flows = onsets.size();
  out.flows.assign(flows, {});
  for (FlowSolution& f : out.flows) {
    f.Ut = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
    f.Vt = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  }
  out.OneMinusCp = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  const double* sigma[kMaxFlows] = {};
  for (std::size_t f = 0; f < flows; ++f) sigma[f] = &sigmas[f](0);
#pragma omp parallel for schedule(static)
  for (int m = 1; m <= NPan; ++m) {
    const auto [i, j] = PanelOfNumber(m, nj);
    double ut[kMaxFlows], vt[kMaxFlows];
    for (std::size_t f = 0; f < flows; ++f) {
      const Vector3 V = OnsetVelocity(onsets[f], s.xC(i, j), s.yC(i, j), s.zC(i, j));
      ut[f] = s.XsiX(i, j) * V[0] + s.XsiY(i, j) * V[1] + s.XsiZ(i, j) * V[2];
      vt[f] = s.ItaX(i, j) * V[0] + s.ItaY(i, j) * V[1] + s.ItaZ(i, j) * V[2];
    }
    const auto rowOfM = static_cast<std::size_t>(m);
    const double* vu = w.Vu.Row(rowOfM);
    const double* vv = w.Vv.Row(rowOfM);
    for (int n = 1; n <= NPan; ++n) {
      for (std::size_t f = 0; f < flows; ++f) {
        ut[f] = ut[f] + sigma[f][n] * vu[n];
        vt[f] = vt[f] + sigma[f][n] * vv[n];
      }
    }
    for (std::size_t f = 0; f < flows; ++f) {
      out.flows[f].Ut(i, j) = ut[f];
      out.flows[f].Vt(i, j) = vt[f];
    }
    out.OneMinusCp(i, j) = ut[0] * ut[0] + vt[0] * vt[0];
  }
}

}  // namespace

int FirstNonFinitePanel(const HessSolution& solution, int ni, int nj) {
  for (int i = 1, m = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j, ++m) {
      bool finite = std::isfinite(solution.OneMinusCp(i, j));
      for (const FlowSolution& f : solution.flows) {
        finite = finite && std::isfinite(f.Sigma(i, j)) && std::isfinite(f.Ut(i, j)) &&
                 std::isfinite(f.Vt(i, j));
      }
      if (!finite) return m;
    }
  }
  return 0;
}

double MatrixBytes(double panels, int flows) {
  const double rows = panels + 1;
  return (rows * (panels + 1 + flows) + 2 * rows * (panels + 2)) *
         static_cast<double>(sizeof(double));
}

void RequireMatrixMemory(double panels, int flows) {
  const std::string count = std::to_string(static_cast<long long>(panels));
  // The stacks of the threads that compute them count too.
  RequireMemory(MatrixBytes(panels, flows) + ThreadStackBytes(),
                "Hess's panel method for " + count + " panels");
  if (panels > kMaxPanels) {
    throw ProgramError("Hess's panel method takes at most " +
                       std::to_string(static_cast<long long>(kMaxPanels)) + " panels, not " +
                       count + ".");
  }
}

HessSolution HessSolve(const ModelState& s, SolverWork& w, const std::vector<OnsetFlow>& onsets,
                       Progress& progress, const MatricesReady& matricesReady) {
  if (onsets.empty() || onsets.size() > kMaxFlows) {
    throw ProgramError("Hess's panel method takes one to four onset flows at a time.");
  }
  const int ni = LoopEnd(s.NI);
  const int nj = LoopEnd(s.NJ);
  const int flows = static_cast<int>(onsets.size());
  // The previous run's matrices go first, so that two sets are never held at once.
  w.Vn = {};
  w.Vu = {};
  w.Vv = {};
  RequireMatrixMemory(static_cast<double>(ni) * static_cast<double>(nj), flows);
  const int NPan = nj * ni;
  const auto rows = static_cast<std::size_t>(NPan);
  const std::size_t columns = rows + 1;
  w.Vu = Array2(rows, columns);
  w.Vv = Array2(rows, columns);
  w.Vn = Array2(rows, rows + onsets.size());
  w.SigmaV = Array1(rows);
  w.Sigma = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  w.seconds = {};
  StartThreads();

  auto start = Clock::now();
  Step(progress, Stage::Coefficients, 0);
  HessSolution solution;
  solution.onsets = onsets;
  solution.nonFinitePanel = BuildInfluenceMatrices(s, w, NPan, onsets, progress);
  Step(progress, Stage::Coefficients, 1);
  w.seconds.coefficients = SecondsSince(start);
  if (solution.nonFinitePanel != 0) return solution;

  start = Clock::now();
  if (matricesReady) matricesReady(w);
  w.seconds.matrixReport = SecondsSince(start);

  start = Clock::now();
  Step(progress, Stage::Elimination, 0);
  std::vector<Array1> sigmas(onsets.size());
  for (Array1& sigma : sigmas) sigma = Array1(rows);
  solution.zeroPivotRow = GaussSolve(NPan, w.Vn, sigmas, progress);
  w.seconds.solve = SecondsSince(start);

  start = Clock::now();
  Step(progress, Stage::SurfaceVelocity, 0);
  SurfaceVelocities(s, w, onsets, sigmas, NPan, solution);
  Step(progress, Stage::SurfaceVelocity, 1);
  w.seconds.oneMinusCp = SecondsSince(start);

  for (std::size_t f = 0; f < sigmas.size(); ++f) {
    Array2 sigma(ArrayLimit(s.NI), ArrayLimit(s.NJ));
    for (int i = 1, m = 0; i <= ni; ++i) {
      for (int j = 1; j <= nj; ++j) sigma(i, j) = sigmas[f](++m);
    }
    solution.flows[f].Sigma = std::move(sigma);
  }
  w.SigmaV = std::move(sigmas[0]);
  w.Sigma = solution.flows[0].Sigma;
  solution.nonFinitePanel = FirstNonFinitePanel(solution, ni, nj);
  return solution;
}

}  // namespace tarvenol
