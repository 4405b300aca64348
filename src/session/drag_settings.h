#pragma once
// The settings of the drag, kept with the results like the angle of attack: the Reynolds number
// on the body's length and where the boundary layer turns turbulent. The solve plays no part.

#include "boundary_layer/boundary_layer.h"

namespace tarvenol {

struct DragSettings {
  // A hull model in a tow tank, or an airship at a few metres a second.
  double reynolds = 1e7;
  TransitionSetting transition;  // free, by Michel's criterion
};

}  // namespace tarvenol
