#pragma once
// The panels' results at a Mach number M > 0, by Göthert's rule (results/goethert.h), as the
// plot and the exports take them: each panel of the body with the values of its panel on the
// affine body.
//   Cp and 1 - Cp are the rule's (with Kármán–Tsien's correction where the setting asks for it);
//   the velocity is the gas's of linear theory, the stream (cos a, sin a, 0) plus the
//     perturbation (u' / beta^2, v' / beta, w' / beta) of the affine body in the stream
//     (cos a, beta sin a, 0): it has a normal part of the order of the disturbance, and its
//     square is 1 - Cp to first order only;
//   the source strength is the affine body's, in its unit stream at the affine angle;
//   the control point and the area are the body's own.

#include <vector>

#include "results/goethert.h"
#include "results/panel_results.h"

namespace tarvenol {

std::vector<PanelResult> PanelResultsAtMach(const ModelState& s, const AffineBody& affine,
                                            const PressureAtMach& pressure);

// What the plot of the pressure at M adds to the panels' own: the comparisons and the limit.
struct MachAlongBody {
  MachSetting setting;
  double beta = 1;
  double CpStar = 0;  // the sonic pressure coefficient
  double CpMin = 0, xCpMin = 0;
  bool supersonic = false;  // CpMin below CpStar
  // The planar Prandtl–Glauert scaling Cp0 / beta of each panel's incompressible Cp0, in the
  // order of the panels: the comparison that overstates a body's suction.
  std::vector<double> planarCp;
};

// From the pressure at M and the incompressible panels at the same angle of attack.
MachAlongBody MachAlongBodyOf(const PressureAtMach& pressure,
                              const std::vector<PanelResult>& incompressible);

}  // namespace tarvenol
