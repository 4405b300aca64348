// The panels as the coefficients' kernel reads them: each quantity in an array of its own,
// a lane per panel, with a block's worth of spare lanes at the end.

#include <algorithm>

#include "geometry/panel_outline.h"
#include "solver/coefficient_rows.h"

namespace tarvenol {

SourcePanels::SourcePanels(const ModelState& s, int columns) {
  const int ni = LoopEnd(s.NI);
  Allocate(ni * columns);
  std::size_t m = 0;
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= columns; ++j) Take(s, i, j, m++);
  }
}

SourcePanels::SourcePanels(const ModelState& s, const std::vector<int>& numbers) {
  const int nj = LoopEnd(s.NJ);
  Allocate(static_cast<int>(numbers.size()));
  std::size_t m = 0;
  for (const int n : numbers) {
    const auto [i, j] = PanelOfNumber(n, nj);
    Take(s, i, j, m++);
  }
}

void SourcePanels::Allocate(int panels) {
  count = panels;
  const auto n = static_cast<std::size_t>(std::max(count, 0)) + kLanes;
  for (std::vector<double>* a : {&xC, &yC, &zC, &XsiX, &XsiY, &XsiZ, &ItaX, &ItaY, &ItaZ, &ZtaX,
                                 &ZtaY, &ZtaZ, &fourCorners}) {
    a->assign(n, 0);
  }
  for (int k = 0; k < 4; ++k) {
    for (std::vector<double>* a : {&xi[k], &eta[k], &dXi[k], &dEta[k], &d[k]}) a->assign(n, 0);
  }
}

void SourcePanels::Take(const ModelState& s, int i, int j, std::size_t m) {
  xC[m] = s.xC(i, j);
  yC[m] = s.yC(i, j);
  zC[m] = s.zC(i, j);
  XsiX[m] = s.XsiX(i, j);
  XsiY[m] = s.XsiY(i, j);
  XsiZ[m] = s.XsiZ(i, j);
  ItaX[m] = s.ItaX(i, j);
  ItaY[m] = s.ItaY(i, j);
  ItaZ[m] = s.ItaZ(i, j);
  ZtaX[m] = s.ZtaX(i, j);
  ZtaY[m] = s.ZtaY(i, j);
  ZtaZ[m] = s.ZtaZ(i, j);
  const PanelOutline outline = OutlineOfPanel(s, i, j);
  fourCorners[m] = outline.n == 4 ? 1 : 0;
  for (int k = 0; k < 4; ++k) {
    const int c = k < outline.n ? k : 0;
    xi[k][m] = outline.xi[c];
    eta[k][m] = outline.eta[c];
  }
  for (int k = 0; k < outline.n; ++k) {
    dXi[k][m] = outline.dXi[k];
    dEta[k][m] = outline.dEta[k];
    d[k][m] = outline.d[k];
  }
}

FieldPanel FieldPanelOf(const ModelState& s, int i, int j) {
  return {s.xC(i, j),   s.yC(i, j),   s.zC(i, j),   s.XsiX(i, j), s.XsiY(i, j), s.XsiZ(i, j),
          s.ItaX(i, j), s.ItaY(i, j), s.ItaZ(i, j), s.ZtaX(i, j), s.ZtaY(i, j), s.ZtaZ(i, j)};
}

}  // namespace tarvenol
