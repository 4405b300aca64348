#pragma once
// The solution panel by panel, as users take it further: where each panel is, its source
// strength, the velocity at its control point and the pressure there.

#include <vector>

#include "core/array.h"
#include "core/model_state.h"

namespace tarvenol {

struct PanelResult {
  int i = 0, j = 0;
  double xC = 0, yC = 0, zC = 0;  // control point
  double sigma = 0;               // source strength
  double Vx = 0, Vy = 0, Vz = 0;  // velocity at the control point, along the body's axes
  double oneMinusCp = 0, Cp = 0;
  double area = 0;  // of the panel's outline in its own plane
};

// Panels in the order of their numbers m = (i - 1) * NJ + j, from the geometry of s, its
// 1 - Cp, and the source strengths Sigma and tangential velocities Ut, Vt (along each panel's
// Xsi and Ita) of the solution; the velocity has no normal part, by the flow-tangency condition.
std::vector<PanelResult> PanelResults(const ModelState& s, const Array2& Sigma, const Array2& Ut,
                                      const Array2& Vt);

}  // namespace tarvenol
