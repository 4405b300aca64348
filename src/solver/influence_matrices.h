#pragma once
// Internal to the solver library: only its own files and its tests include it.
// The velocity that unit source strength on every panel induces at every control point,
// resolved along the field panel's axes: rows are field panels, columns source panels.

#include <vector>

#include "core/model_state.h"
#include "core/progress.h"
#include "solver/hess_solve.h"
#include "solver/onset_flow.h"
#include "solver/vector_path.h"

namespace tarvenol {

// Fills rows and columns 1..NPan of Vn, Vu and Vv (allocated by the caller) and the
// right-hand sides Vn(m, NPan + 1 + f), minus the normal component of onset flow f. Rows are
// computed in parallel, each in the same order of arithmetic, on the widest vector path of the
// CPU or the given one. Returns 0, or the first row holding a value that is not finite. Throws
// Cancelled when progress asks to stop, leaving the rows not yet begun unfilled.
int BuildInfluenceMatrices(const ModelState& s, SolverWork& w, int NPan,
                           const std::vector<OnsetFlow>& onsets, Progress& progress,
                           VectorPath path = WidestVectorPath());

}  // namespace tarvenol
