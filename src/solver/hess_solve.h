#pragma once
// Hess's source panel method on the panels of the current geometry: influence matrices,
// their report, source strengths, surface velocities and 1 - Cp.

#include "core/array.h"
#include "core/model_state.h"
#include "core/window_ops.h"

namespace tarvenol {

// The solver's own arrays, kept from one run to the next.
struct SolverWork {
  Array2 Vn;      // normal influence [0..NPan, 0..NPan1]; column NPan1: right-hand side
  Array2 Vu;      // Xsi influence [0..NPan, 0..NPan1]
  Array2 Vv;      // Ita influence [0..NPan, 0..NPan1]
  Array1 SigmaV;  // source strength by panel number [0..NPan]
  Array2 Sigma;   // source strength by panel indices [0..NI, 0..NJ]
};

void HessSolve(ModelState& s, SolverWork& w, WindowOps& win);

}  // namespace tarvenol
