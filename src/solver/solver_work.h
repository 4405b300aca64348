#pragma once
// The arrays the full solve keeps from one run to the next, and the times of its stages.

#include "core/array.h"

namespace tarvenol {

// Wall-clock seconds of the stages of the last run, for measuring.
struct HessStageSeconds {
  double coefficients = 0;  // influence matrices
  double matrixReport = 0;  // what was done with them before the elimination
  double solve = 0;         // Gaussian elimination
  double oneMinusCp = 0;    // surface velocities
};

// The solver's own arrays, kept from one run to the next.
struct SolverWork {
  // Normal influence [0..NPan, 0..NPan + flows]; column NPan1 = NPan + 1: the right-hand side of
  // the first onset flow, then one column for each further flow.
  Array2 Vn;
  Array2 Vu;      // Xsi influence [0..NPan, 0..NPan1]
  Array2 Vv;      // Ita influence [0..NPan, 0..NPan1]
  Array1 SigmaV;  // source strength by panel number [0..NPan], in the first onset flow
  Array2 Sigma;   // the same by panel indices [0..NI, 0..NJ]
  HessStageSeconds seconds;
};

}  // namespace tarvenol
