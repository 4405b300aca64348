#pragma once
// The pressure along the body, as its plot shows it: every panel's 1 - Cp against the x of its
// control point, and the closed form where the body is a spheroid, with the largest deviation
// of the panels from it.

#include <optional>
#include <string>
#include <vector>

#include "core/array.h"
#include "results/exact_pressure.h"
#include "results/panel_results.h"

namespace tarvenol {

struct PressureAlongBody {
  std::string body;  // "the sphere", or the body file's name as a message shows it
  int NI = 0, NJ = 0;
  std::vector<PanelResult> panels;
  std::optional<Spheroid> spheroid;
  double deviation = 0;  // largest |1 - Cp of a panel - the closed form at its x|
};

// profile: points 1..n of xI, rI, to tell whether the body is a spheroid.
PressureAlongBody PressureOf(std::string body, int NI, int NJ, std::vector<PanelResult> panels,
                             const Array1& xI, const Array1& rI, int n);

}  // namespace tarvenol
