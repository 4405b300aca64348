#include "solver/body_potential.h"

#include <omp.h>

#include <atomic>
#include <vector>

#include "geometry/panel_outline.h"
#include "solver/source_panel_potential.h"

namespace tarvenol {

Array1 MeridianPotential(const ModelState& s, const Array2& Sigma, int j, Progress& progress) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  std::vector<PanelOutline> outlines;
  outlines.reserve(static_cast<std::size_t>(ni) * static_cast<std::size_t>(nj));
  for (int i2 = 1; i2 <= ni; ++i2) {
    for (int j2 = 1; j2 <= nj; ++j2) outlines.push_back(OutlineOfPanel(s, i2, j2));
  }
  Array1 phi(ArrayLimit(s.NI));
  std::atomic<int> rowsDone = 0;
  std::atomic<bool> stop = false;
#pragma omp parallel for schedule(dynamic, 1)
  for (int i = 1; i <= ni; ++i) {
    // A stopped run skips the rows left; a worksharing loop cannot be left early.
    if (stop.load(std::memory_order_relaxed)) continue;
    double sum = 0;
    const PanelOutline* outline = outlines.data();
    for (int i2 = 1; i2 <= ni; ++i2) {
      for (int j2 = 1; j2 <= nj; ++j2, ++outline) {
        // The control point in the source panel's axes, as the influence coefficients take it.
        const double dx = s.xC(i, j) - s.xC(i2, j2);
        const double dy = s.yC(i, j) - s.yC(i2, j2);
        const double dz = s.zC(i, j) - s.zC(i2, j2);
        const double x = s.XsiX(i2, j2) * dx + s.XsiY(i2, j2) * dy + s.XsiZ(i2, j2) * dz;
        const double y = s.ItaX(i2, j2) * dx + s.ItaY(i2, j2) * dy + s.ItaZ(i2, j2) * dz;
        const double z = s.ZtaX(i2, j2) * dx + s.ZtaY(i2, j2) * dy + s.ZtaZ(i2, j2) * dz;
        sum += Sigma(i2, j2) * OutlinePotential(*outline, s.FourPI, x, y, z);
      }
    }
    phi(i) = sum;
    const int done = rowsDone.fetch_add(1, std::memory_order_relaxed) + 1;
    if (omp_get_thread_num() == 0 &&
        !progress.Advance(Stage::BodyPotential, static_cast<double>(done) / ni)) {
      stop.store(true, std::memory_order_relaxed);
    }
  }
  if (stop) throw Cancelled();
  return phi;
}

}  // namespace tarvenol
