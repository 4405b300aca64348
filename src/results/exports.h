#pragma once
// The solution panel by panel in files other programs read: a CSV table for a spreadsheet or a
// script, and VTK XML PolyData for ParaView.

#include <optional>
#include <vector>

#include "core/model_state.h"
#include "core/whole_file.h"
#include "results/exact_pressure.h"
#include "results/forces.h"
#include "results/panel_results.h"

namespace tarvenol {

// One row per panel under a header row: i, j, the control point, the source strength, the
// velocity, 1 - Cp, Cp and the area; every number in its shortest form that reads back as the
// same double, with a full stop whatever the locale. A stream at an angle of attack other than
// 0 adds the column alpha_deg, and a Mach number above 0 the column mach after it.
void WriteCsv(FileSink& file, const std::vector<PanelResult>& results, double alphaDegrees,
              double mach = 0);

// One polygon per panel through its corners, ordered so that its normal points out of the body,
// with the same quantities as cell data. An angle of attack other than 0 goes with them as the
// field data alpha_deg, and a Mach number above 0 as the field data mach.
void WriteVtp(FileSink& file, const ModelState& s, const std::vector<PanelResult>& results,
              double alphaDegrees, double mach = 0);

// One row per angle of attack under a header row: the force and the moment about the reference
// point in units of 1/2 rho U^2 (an area and a volume), their coefficients on the volume V
// (V^(2/3) and V), the nose-up pitching moment's coefficient, and Munk's for the spheroid where
// the body is one (empty otherwise).
void WriteForcesCsv(FileSink& file, const ForcesTable& table);

}  // namespace tarvenol
