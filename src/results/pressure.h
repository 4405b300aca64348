#pragma once
// The pressure along the body, as its plot shows it: every panel's 1 - Cp against the x of its
// control point, and the closed form where the body is a spheroid, with the largest deviation
// of the panels from it. At an angle of attack the plot follows the two meridians of panels
// nearest the plane of the stream: the windward one, which the stream meets, and the leeward.

#include <optional>
#include <string>
#include <vector>

#include "core/array.h"
#include "results/exact_pressure.h"
#include "solver/incidence.h"
#include "results/mach_panels.h"
#include "results/panel_results.h"

namespace tarvenol {

struct PressureAlongBody {
  std::string body;  // "the sphere", or the body file's name as a message shows it
  int NI = 0, NJ = 0;
  std::vector<PanelResult> panels;
  std::optional<Spheroid> spheroid;
  double deviation = 0;  // largest |1 - Cp of a panel - the closed form at its x|
  Incidence incidence;
  int windward = 0, leeward = 0;  // the meridians j of the panels nearest -y and +y
  // At a Mach number above 0: the panels carry its values, the deviation is from the rule's
  // closed form, and these are what the plot compares them with.
  std::optional<MachAlongBody> mach;
};

// profile: points 1..n of xI, rI, to tell whether the body is a spheroid; the panels' results
// at the angle of attack a.
PressureAlongBody PressureOf(std::string body, int NI, int NJ, std::vector<PanelResult> panels,
                             const Array1& xI, const Array1& rI, int n, const Incidence& a);

// p, whose panels are at the Mach number of m (PanelResultsAtMach), with m and its deviation
// from Göthert's rule on the exact spheroid.
void TakeMach(PressureAlongBody& p, MachAlongBody m);

}  // namespace tarvenol
