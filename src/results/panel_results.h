#pragma once
// The solution panel by panel, as users take it further: where each panel is, its source
// strength, the velocity at its control point and the pressure there.

#include <vector>

#include "core/array.h"
#include "core/model_state.h"
#include "solver/hess_solve.h"

namespace tarvenol {

struct PanelResult {
  int i = 0, j = 0;
  double xC = 0, yC = 0, zC = 0;  // control point
  double sigma = 0;               // source strength
  double Vx = 0, Vy = 0, Vz = 0;  // velocity at the control point, along the body's axes
  double oneMinusCp = 0, Cp = 0;
  double area = 0;  // of the panel's outline in its own plane
};

// Panels in the order of their numbers m = (i - 1) * NJ + j, from the geometry of s and the
// source strengths and tangential velocities (along each panel's Xsi and Ita) of a solution in
// a unit stream; the velocity has no normal part, by the flow-tangency condition, and 1 - Cp is
// the square of its speed.
std::vector<PanelResult> PanelResults(const ModelState& s, const FlowSolution& flow);

}  // namespace tarvenol
