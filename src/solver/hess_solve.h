#pragma once
// Hess's source panel method on the panels of the current geometry: influence matrices,
// source strengths, surface velocities and 1 - Cp.

#include <functional>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"

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
  Array2 Vn;      // normal influence [0..NPan, 0..NPan1]; column NPan1: right-hand side
  Array2 Vu;      // Xsi influence [0..NPan, 0..NPan1]
  Array2 Vv;      // Ita influence [0..NPan, 0..NPan1]
  Array1 SigmaV;  // source strength by panel number [0..NPan]
  Array2 Sigma;   // source strength by panel indices [0..NI, 0..NJ]
  HessStageSeconds seconds;
};

// What a run gives, by panel [0..NI, 0..NJ]: 1 - Cp for the model state to take, and the source
// strengths and surface velocities for the results of the solution that is shown.
struct HessSolution {
  // 0, or the row whose diagonal element the elimination met as exactly 0; every source
  // strength is then 0 and 1 - Cp comes from the free stream alone.
  int zeroPivotRow = 0;
  // 0, or the first panel whose influence coefficients, source strength or 1 - Cp is not a
  // finite number: then there is no solution. Matrices that are not finite stop the run before
  // they are handed on or eliminated.
  int nonFinitePanel = 0;
  Array2 OneMinusCp;
  Array2 Sigma;
  Array2 Ut, Vt;  // the tangential surface velocity along the panel's axes Xsi and Ita
};

// Called once the influence matrices are complete, before the elimination overwrites Vn:
// the only moment at which they can be read whole.
using MatricesReady = std::function<void(const SolverWork&)>;

// The memory the three influence matrices take for that many panels, in bytes.
double MatrixMemoryBytes(double panels);

// Refuses, with a message, a panel count whose three matrices would not fit in the memory
// available now, or whose panel numbers an int cannot hold.
void RequireMatrixMemory(double panels);

// Panels are numbered m = (i - 1) * NJ + j. The free stream must be set. Refuses a panel
// count whose matrices would not fit in memory before any is allocated. Tells progress how far
// it has come at coarse steps, and throws Cancelled when it asks to stop.
HessSolution HessSolve(const ModelState& s, SolverWork& w, Progress& progress,
                       const MatricesReady& matricesReady);

}  // namespace tarvenol
