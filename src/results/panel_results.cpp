#include "results/panel_results.h"

#include "geometry/panel_outline.h"

namespace tarvenol {

std::vector<PanelResult> PanelResults(const ModelState& s, const FlowSolution& flow) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  std::vector<PanelResult> results;
  results.reserve(static_cast<std::size_t>(ni) * static_cast<std::size_t>(nj));
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) {
      PanelResult r;
      r.i = i;
      r.j = j;
      r.xC = s.xC(i, j);
      r.yC = s.yC(i, j);
      r.zC = s.zC(i, j);
      r.sigma = flow.Sigma(i, j);
      const double ut = flow.Ut(i, j), vt = flow.Vt(i, j);
      r.Vx = ut * s.XsiX(i, j) + vt * s.ItaX(i, j);
      r.Vy = ut * s.XsiY(i, j) + vt * s.ItaY(i, j);
      r.Vz = ut * s.XsiZ(i, j) + vt * s.ItaZ(i, j);
      r.oneMinusCp = ut * ut + vt * vt;
      r.Cp = 1 - r.oneMinusCp;
      r.area = OutlineArea(OutlineOfPanel(s, i, j));
      results.push_back(r);
    }
  }
  return results;
}

}  // namespace tarvenol
