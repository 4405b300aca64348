#pragma once
// The figures of the panelled body as a solid: its volume, wetted area, centre of volume and
// the moment of inertia of the fluid it displaces, exact for the polyhedron the panels bound.

#include "core/model_state.h"

namespace tarvenol {

struct BodyFigures {
  double volume = 0;      // negative when the panels face into the body
  double wettedArea = 0;  // the panels' areas together
  double centreX = 0;     // of the volume; on the axis, so y = z = 0 up to rounding
  double centreY = 0;
  double centreZ = 0;
  // The integral of (x - centreX)^2 + (y - centreY)^2 over the volume: the moment of inertia of
  // the displaced fluid about the transverse axis z through the centre, per unit density.
  double inertiaZ = 0;
};

// Each panel's corners with a point on the axis form a pyramid, whose volume and moments have
// closed forms; over the closed surface their sum is the body's, whatever point is chosen.
// A body of no volume has its centre halfway between its ends.
BodyFigures FiguresOfPanels(const ModelState& s);

}  // namespace tarvenol
