#pragma once
// Velocity induced by a plane panel carrying a source distribution of unit strength per unit
// area, in closed form: a logarithmic term per edge for the in-plane components and an angle
// term per edge for the normal one. Exact for a plane polygon, near or far; no state.

#include "core/model_state.h"
#include "geometry/panel_outline.h"

namespace tarvenol {

// (u, v, w) along Xsi, Ita, Zta at the field point (x, y, z) given in the panel's axes from
// its control point. Undefined for an edge of no length or a point on the outline.
void OutlineVelocity(const PanelOutline& p, double PI, double TwoPI, double FourPI, double x,
                     double y, double z, double& u, double& v, double& w);

// The same for panel (i, j) of the model state.
void SourcePanelVelocity(const ModelState& s, int i, int j, double x, double y, double z, double& u,
                         double& v, double& w);

}  // namespace tarvenol
