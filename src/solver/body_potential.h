#pragma once
// The disturbance potential of a solution's sources on the body itself, for the added masses.

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

// The potential at the control points of the panels (i, j), i = 1..NI, of one meridian j, of the
// source strengths Sigma [0..NI, 0..NJ] on every panel: NI * NI * NJ exact panel potentials,
// the rows in parallel. On a body of revolution the rest of the body follows from one meridian
// and the way the flow varies around the axis. Tells progress how far it has come, and throws
// Cancelled when it asks to stop.
Array1 MeridianPotential(const ModelState& s, const Array2& Sigma, int j, Progress& progress);

}  // namespace tarvenol
