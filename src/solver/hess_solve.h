#pragma once
// Hess's source panel method on the panels of the current geometry: influence matrices,
// their report, source strengths, surface velocities and 1 - Cp.

#include "core/array.h"
#include "core/model_state.h"
#include "core/window_ops.h"

namespace tarvenol {

// Wall-clock seconds of the stages of the last run, for measuring.
struct HessStageSeconds {
  double coefficients = 0;  // influence matrices
  double matrixReport = 0;  // their report section
  double solve = 0;         // Gaussian elimination
  double oneMinusCp = 0;    // surface velocities
  double report = 0;        // source strength and 1-Cp sections
};

// The solver's own arrays, kept from one run to the next.
struct SolverWork {
  Array2 Vn;      // normal influence [0..NPan, 0..NPan1]; column NPan1: right-hand side
  Array2 Vu;      // Xsi influence [0..NPan, 0..NPan1]
  Array2 Vv;      // Ita influence [0..NPan, 0..NPan1]
  Array1 SigmaV;  // source strength by panel number [0..NPan]
  Array2 Sigma;   // source strength by panel indices [0..NI, 0..NJ]
  HessStageSeconds seconds;
};

// Panels are numbered m = (i - 1) * NJ + j. The free stream must be set. Refuses, keeping
// OneMinusCp, a panel count whose matrices would not fit in memory; a zero diagonal element
// met by the elimination leaves every source strength 0, and the run goes on.
void HessSolve(ModelState& s, SolverWork& w, WindowOps& win);

}  // namespace tarvenol
