#include "solver/influence_matrices.h"

#include <omp.h>

#include <atomic>
#include <vector>

#include "solver/source_panel_velocity.h"

namespace tarvenol {
namespace {

// What the coefficients need of one panel, gathered in panel order.
struct Panel {
  double xC, yC, zC;
  double XsiX, XsiY, XsiZ;
  double ItaX, ItaY, ItaZ;
  double ZtaX, ZtaY, ZtaZ;
  PanelOutline outline;
};

std::vector<Panel> GatherPanels(const ModelState& s, int ni, int nj) {
  std::vector<Panel> panels;
  panels.reserve(static_cast<std::size_t>(ni) * static_cast<std::size_t>(nj));
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) {
      panels.push_back({s.xC(i, j), s.yC(i, j), s.zC(i, j), s.XsiX(i, j), s.XsiY(i, j),
                        s.XsiZ(i, j), s.ItaX(i, j), s.ItaY(i, j), s.ItaZ(i, j), s.ZtaX(i, j),
                        s.ZtaY(i, j), s.ZtaZ(i, j), OutlineOfPanel(s, i, j)});
    }
  }
  return panels;
}

}  // namespace

void BuildInfluenceMatrices(const ModelState& s, SolverWork& w, int NPan, Progress& progress) {
  const std::vector<Panel> panels = GatherPanels(s, LoopEnd(s.NI), LoopEnd(s.NJ));
  const int NPan1 = NPan + 1;
  std::atomic<int> rowsDone = 0;
  std::atomic<bool> stop = false;
#pragma omp parallel for schedule(dynamic, 8)
  for (int m = 1; m <= NPan; ++m) {
    // A stopped run skips the rows left; a worksharing loop cannot be left early.
    if (stop.load(std::memory_order_relaxed)) continue;
    const Panel& field = panels[static_cast<std::size_t>(m - 1)];
    double* vn = w.Vn.Row(static_cast<std::size_t>(m));
    double* vu = w.Vu.Row(static_cast<std::size_t>(m));
    double* vv = w.Vv.Row(static_cast<std::size_t>(m));
    for (int n = 1; n <= NPan; ++n) {
      const Panel& source = panels[static_cast<std::size_t>(n - 1)];
      // From the source panel's control point to the field panel's, in the source's axes.
      const double dx = field.xC - source.xC;
      const double dy = field.yC - source.yC;
      const double dz = field.zC - source.zC;
      const double x = source.XsiX * dx + source.XsiY * dy + source.XsiZ * dz;
      const double y = source.ItaX * dx + source.ItaY * dy + source.ItaZ * dz;
      const double z = source.ZtaX * dx + source.ZtaY * dy + source.ZtaZ * dz;
      double u = 0, v = 0, wz = 0;
      OutlineVelocity(source.outline, s.PI, s.TwoPI, s.FourPI, x, y, z, u, v, wz);
      // Back to global axes, then onto the field panel's axes.
      const double Vx = source.XsiX * u + source.ItaX * v + source.ZtaX * wz;
      const double Vy = source.XsiY * u + source.ItaY * v + source.ZtaY * wz;
      const double Vz = source.XsiZ * u + source.ItaZ * v + source.ZtaZ * wz;
      vu[n] = field.XsiX * Vx + field.XsiY * Vy + field.XsiZ * Vz;
      vv[n] = field.ItaX * Vx + field.ItaY * Vy + field.ItaZ * Vz;
      vn[n] = field.ZtaX * Vx + field.ZtaY * Vy + field.ZtaZ * Vz;
    }
    vn[NPan1] = -(field.ZtaX * s.VinfX + field.ZtaY * s.VinfY + field.ZtaZ * s.VinfZ);
    const int done = rowsDone.fetch_add(1, std::memory_order_relaxed) + 1;
    // The thread that started the work is the one that tells how far it has come.
    if (omp_get_thread_num() == 0 &&
        !progress.Advance(Stage::Coefficients, static_cast<double>(done) / NPan)) {
      stop.store(true, std::memory_order_relaxed);
    }
  }
  if (stop) throw Cancelled();
}

}  // namespace tarvenol
