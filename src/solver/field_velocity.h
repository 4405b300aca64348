#pragma once
// The velocity that the panels' source distributions induce at points anywhere around the body,
// not only at the control points. The in-plane terms are the coefficients' own; the normal one is
// the solid angle under which the panel is seen (solver/solid_angle.h), taken by atan2, which
// stays sound wherever the point's foot lies. (The coefficients keep the angle sum of the
// report's arithmetic wherever it is sound, source_panel_velocity.h.)

#include <array>
#include <vector>

#include "core/model_state.h"
#include "geometry/panel_outline.h"
#include "solver/vector_path.h"

namespace tarvenol {

// (u, v, w) along Xsi, Ita, Zta for unit source strength, at (x, y, z) in the panel's axes from
// its control point. Defined for every point off the panel; on the panel w is +-0.5.
void FieldOutlineVelocity(const PanelOutline& p, double x, double y, double z, double& u, double& v,
                          double& w);

// What the field's velocity needs of every panel, side by side in an order of the caller's.
struct FieldPanels {
  int count = 0;
  std::vector<double> xC, yC, zC;  // control point
  std::vector<double> XsiX, XsiY, XsiZ, ItaX, ItaY, ItaZ, ZtaX, ZtaY, ZtaZ;
  // Corners in the panel's axes; a panel of three corners repeats its first in the fourth slot.
  std::array<std::vector<double>, 4> xi, eta;
  // Edge k, from slot k to the next: its length and direction; all 0 for a repeated corner.
  std::array<std::vector<double>, 4> d, dXiByD, dEtaByD;
};

// Panel (i, j) of s is panel number m = (i - 1) * NJ + j; order lists the numbers m in the
// order the panels are to be kept.
FieldPanels FieldPanelsOf(const ModelState& s, const std::vector<int>& order);

// The streams whose source strengths the field carries at once.
inline constexpr int kMaxFieldFlows = 2;

// Adds to V[f] the velocity, along the body's axes, that panels begin..end - 1 of P induce at the
// point (x, y, z) with source strengths sigma[f][n], for each flow f < flows.
using FieldKernel = void (*)(const FieldPanels& P, int begin, int end, const double* const* sigma,
                             int flows, const double point[3], double V[][3]);

// The kernel for a vector path; every path gives the same bits.
FieldKernel FieldKernelFor(VectorPath path);

}  // namespace tarvenol
