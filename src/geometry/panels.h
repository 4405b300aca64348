#pragma once
// The panels of the surface grid: NI x NJ plane panels (triangles in the first and last
// rows), their corners, control points, axes Xsi, Ita, Zta (Zta out of the body) and
// corner coordinates in panel axes.

#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

// Refuses, naming the first such panel (i, j), a grid that gives a panel whose first edge
// has no length or whose corners 1, 2 and 3 lie on one line: such a panel has no axes.
void BuildPanels(ModelState& s);
// The same, telling progress where it stands at Stage::Geometry 0.5 to 1, and throwing
// Cancelled when asked to stop.
void BuildPanels(ModelState& s, Progress& progress);

}  // namespace tarvenol
