#pragma once
// The boundary layer along the body, on Qt Charts: the skin friction cf, the momentum thickness
// theta and the shape factor H against x/L, each on an axis of its own in its colour, with the
// drag in the title. Needs a QApplication.

#include <string>

#include "boundary_layer/boundary_layer.h"

class QChart;

namespace tarvenol {

// cf on the edge velocity grows without bound towards the stagnation point, where Ue falls to
// 0 and the wall's shear with it: its axis spans the stations from this x/L on, and the nose's
// values run off the top.
inline constexpr double kSkinFrictionScaleFrom = 0.05;

// A new chart, the caller's to own, of the layer of body, whose length is length (theta is
// drawn on it).
QChart* MakeDragChart(const BoundaryLayerResult& layer, double length, const std::string& body);

}  // namespace tarvenol
