#include "geometry/panel_outline.h"

#include <cmath>

namespace tarvenol {

PanelOutline OutlineOfPanel(const ModelState& s, int i, int j) {
  PanelOutline p;
  p.n = s.NCor(i, j);
  for (int k = 0; k < p.n; ++k) {
    p.xi[k] = s.Xsi(i, j, k + 1);
    p.eta[k] = s.Ita(i, j, k + 1);
  }
  for (int k = 0; k < p.n; ++k) {
    const int k1 = k + 1 < p.n ? k + 1 : 0;
    p.dXi[k] = p.xi[k1] - p.xi[k];
    p.dEta[k] = p.eta[k1] - p.eta[k];
    p.d[k] = std::sqrt(p.dXi[k] * p.dXi[k] + p.dEta[k] * p.dEta[k]);
  }
  return p;
}

double OutlineArea(const PanelOutline& p) {
  // The corners run clockwise, so the signed sum is negative.
  double twice = 0;
  for (int k = 0; k < p.n; ++k) {
    const int k1 = k + 1 < p.n ? k + 1 : 0;
    twice += p.xi[k] * p.eta[k1] - p.xi[k1] * p.eta[k];
  }
  return std::fabs(twice) / 2;
}

}  // namespace tarvenol
