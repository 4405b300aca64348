#pragma once
// The report sections of a geometry: the profile, the body coordinates, and the four
// panel sections (corners, control points, axes, corners in panel axes).

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

// Profile section: NI1 lines of i, xI(i), rI(i).
void PrintProfile(const ModelState& s, const Array1& xI, const Array1& rI);
// Body-coordinates section: xB, yB, zB by profile point.
void PrintBodyCoordinates(const ModelState& s, Progress& progress);
// The four panel sections, in one open, write and close.
void PrintPanelGeometry(const ModelState& s, Progress& progress);
// (Both tell progress how far they have come, and throw Cancelled when it asks to stop.)

}  // namespace tarvenol
