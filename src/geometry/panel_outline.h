#pragma once
// What every library that works with the panels needs of one: its outline in its own axes
// (Xsi, Ita) from its control point, with the edges, and its area. Zta, the panel's normal, is
// in the model state.

#include "core/model_state.h"

namespace tarvenol {

// Corners clockwise seen from +Zta; edge k runs from corner k to the next.
struct PanelOutline {
  int n = 0;  // corners, 3 or 4
  double xi[4] = {}, eta[4] = {};
  double dXi[4] = {}, dEta[4] = {}, d[4] = {};  // edge vectors and lengths
};

PanelOutline OutlineOfPanel(const ModelState& s, int i, int j);

// The area of the outline (the shoelace formula).
double OutlineArea(const PanelOutline& p);

}  // namespace tarvenol
