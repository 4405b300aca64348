#pragma once
// A panel's outline from its corners in its own axes, clockwise seen from +Zta, as the panel
// geometry makes it, for the kernels' tests.

#include <cmath>
#include <vector>

#include "geometry/panel_outline.h"

namespace tarvenol::testing {

struct Corner {
  double xi, eta;
};

inline PanelOutline OutlineOf(const std::vector<Corner>& corners) {
  PanelOutline p;
  p.n = static_cast<int>(corners.size());
  for (int k = 0; k < p.n; ++k) {
    p.xi[k] = corners[static_cast<std::size_t>(k)].xi;
    p.eta[k] = corners[static_cast<std::size_t>(k)].eta;
  }
  for (int k = 0; k < p.n; ++k) {
    const int k1 = (k + 1) % p.n;
    p.dXi[k] = p.xi[k1] - p.xi[k];
    p.dEta[k] = p.eta[k1] - p.eta[k];
    p.d[k] = std::hypot(p.dXi[k], p.dEta[k]);
  }
  return p;
}

}  // namespace tarvenol::testing
