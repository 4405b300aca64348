#pragma once
// The boundary layer and the drag as text other programs read; the bytes only, which the
// program's one writer puts in a file.

#include <string>

#include "boundary_layer/boundary_layer.h"

namespace tarvenol {

// One row per station under the header row x_over_L,s,Ue,theta,delta_star,H,cf,Re_theta,regime;
// every number in its shortest form that reads back as the same double, with a full stop
// whatever the locale; the regime laminar, turbulent or separated.
std::string DragCsv(const BoundaryLayerResult& result);

// "name value" lines: Re_L, CD_wetted, CD_volume, CD_frontal, CF_ITTC57, form_factor,
// x_transition, x_separation, CD_friction_wetted; a place that is not there is "none".
std::string DragFigureLines(const BoundaryLayerResult& result);

}  // namespace tarvenol
