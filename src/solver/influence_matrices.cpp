#include "solver/influence_matrices.h"

#include <omp.h>

#include <atomic>
#include <cmath>
#include <vector>

#include "solver/coefficient_rows.h"

namespace tarvenol {
namespace {

// Whether every value of row m of the three matrices is finite: checked while the row is still
// in cache, rather than in a pass of its own over hundreds of MB.
bool RowFinite(const double* vn, const double* vu, const double* vv, int NPan, int flows) {
  bool finite = true;
  for (int f = 1; f <= flows; ++f) finite = finite && std::isfinite(vn[NPan + f]);
  for (int n = 1; n <= NPan; ++n) {
    finite = finite && std::isfinite(vn[n]) && std::isfinite(vu[n]) && std::isfinite(vv[n]);
  }
  return finite;
}

}  // namespace

int BuildInfluenceMatrices(const ModelState& s, SolverWork& w, int NPan,
                           const std::vector<OnsetFlow>& onsets, Progress& progress,
                           VectorPath path) {
  const SourcePanels panels(s, LoopEnd(s.NJ));
  const RowFunction row = RowFor(path);
  const KernelConstants c{s.PI, s.TwoPI, s.FourPI};
  const int NPan1 = NPan + 1;
  std::atomic<int> rowsDone = 0;
  std::atomic<bool> stop = false;
  std::atomic<int> firstNonFinite = NPan + 1;
  RowWorkAreas work(omp_get_max_threads());
#pragma omp parallel for schedule(dynamic, 8)
  for (int m = 1; m <= NPan; ++m) {
    // A stopped run skips the rows left; a worksharing loop cannot be left early.
    if (stop.load(std::memory_order_relaxed)) continue;
    const auto rowOfM = static_cast<std::size_t>(m), i = rowOfM - 1;
    const FieldPanel field{panels.xC[i],   panels.yC[i],   panels.zC[i],   panels.XsiX[i],
                           panels.XsiY[i], panels.XsiZ[i], panels.ItaX[i], panels.ItaY[i],
                           panels.ItaZ[i], panels.ZtaX[i], panels.ZtaY[i], panels.ZtaZ[i]};
    double* vn = w.Vn.Row(rowOfM);
    double* vu = w.Vu.Row(rowOfM);
    double* vv = w.Vv.Row(rowOfM);
    row(panels, field, c, work.Of(omp_get_thread_num()), vn, vu, vv);
    double* rightHandSide = vn + NPan1;
    for (const OnsetFlow& onset : onsets) {
      const Vector3 V = OnsetVelocity(onset, field.xC, field.yC, field.zC);
      *rightHandSide++ = -(field.ZtaX * V[0] + field.ZtaY * V[1] + field.ZtaZ * V[2]);
    }
    if (!RowFinite(vn, vu, vv, NPan, static_cast<int>(onsets.size()))) {
      int first = firstNonFinite.load(std::memory_order_relaxed);
      while (m < first && !firstNonFinite.compare_exchange_weak(first, m)) {
      }
    }
    const int done = rowsDone.fetch_add(1, std::memory_order_relaxed) + 1;
    // The thread that started the work is the one that tells how far it has come.
    if (omp_get_thread_num() == 0 &&
        !progress.Advance(Stage::Coefficients, static_cast<double>(done) / NPan)) {
      stop.store(true, std::memory_order_relaxed);
    }
  }
  if (stop) throw Cancelled();
  return firstNonFinite > NPan ? 0 : firstNonFinite.load();
}

}  // namespace tarvenol
