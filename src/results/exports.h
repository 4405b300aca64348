#pragma once
// The solution panel by panel in files other programs read: a CSV table for a spreadsheet or a
// script, and VTK XML PolyData for ParaView.

#include <vector>

#include "core/model_state.h"
#include "core/whole_file.h"
#include "results/panel_results.h"

namespace tarvenol {

// One row per panel under a header row: i, j, the control point, the source strength, the
// velocity, 1 - Cp, Cp and the area; every number in its shortest form that reads back as the
// same double, with a full stop whatever the locale.
void WriteCsv(FileSink& file, const std::vector<PanelResult>& results);

// One polygon per panel through its corners, ordered so that its normal points out of the body,
// with the same quantities as cell data.
void WriteVtp(FileSink& file, const ModelState& s, const std::vector<PanelResult>& results);

}  // namespace tarvenol
