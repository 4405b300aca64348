#pragma once
// Hess's source panel method on the panels of the current geometry: influence matrices,
// source strengths, surface velocities and 1 - Cp.

#include <functional>
#include <vector>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"
#include "solver/onset_flow.h"
#include "solver/solver_work.h"

namespace tarvenol {

// The solution in one onset flow, by panel [0..NI, 0..NJ].
struct FlowSolution {
  Array2 Sigma;   // source strength
  Array2 Ut, Vt;  // the tangential surface velocity along the panel's axes Xsi and Ita
};

// What a run gives: for each onset flow its source strengths and surface velocities, and 1 - Cp
// of the first for the model state to take.
struct HessSolution {
  // 0, or the row whose diagonal element the elimination met as exactly 0; every source
  // strength is then 0 and the surface velocities come from the onset flows alone.
  int zeroPivotRow = 0;
  // 0, or the first panel whose influence coefficients, source strength or surface velocity is
  // not a finite number: then there is no solution. Matrices that are not finite stop the run
  // before they are handed on or eliminated.
  int nonFinitePanel = 0;
  std::vector<OnsetFlow> onsets;    // the flows solved for, in order
  std::vector<FlowSolution> flows;  // one for each, in the same order
  Array2 OneMinusCp;                // Ut^2 + Vt^2 of the first
};

// Called once the influence matrices are complete, before the elimination overwrites Vn:
// the only moment at which they can be read whole.
using MatricesReady = std::function<void(const SolverWork&)>;

// The first panel, by number, with a value of the solution that is not finite; 0 for none.
int FirstNonFinitePanel(const HessSolution& solution, int ni, int nj);

// Bytes of the three influence matrices of a panel count, with a right-hand side for each of
// the onset flows.
double MatrixBytes(double panels, int flows);

// Refuses a panel count whose three matrices would not fit in the memory available, or whose
// panel numbers would not fit an int, before anything is allocated.
void RequireMatrixMemory(double panels, int flows);

// Panels are numbered m = (i - 1) * NJ + j. Every onset flow is carried through the one
// elimination; the first one's right-hand side is the matrices' column NPan1, and its results
// are the same bits as if it were solved alone. Refuses a panel count whose matrices would not
// fit in memory before any is allocated. Tells progress how far it has come at coarse steps,
// and throws Cancelled when it asks to stop.
HessSolution HessSolve(const ModelState& s, SolverWork& w, const std::vector<OnsetFlow>& onsets,
                       Progress& progress, const MatricesReady& matricesReady);

}  // namespace tarvenol
