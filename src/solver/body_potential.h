#pragma once
// The disturbance potential of a solution's sources on the body itself, for the added masses.

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

struct PotentialOnBody {
  Array1 phi;         // at the control points of the meridian, 1..NI
  double farBound{};  // the most the far field may have moved any phi(i)
};

// The potential at the control points of the panels (i, j), i = 1..NI, of one meridian j, of
// source strengths Sigma [0..NI, 0..NJ] of mode 1 around the axis (a ring's strengths go as
// a cos(theta) + b sin(theta), as the pitch turn's do). On a body of revolution the rest of the
// body follows from one meridian and the way the flow varies around the axis.
//
// A ring of panels far from the control point is taken as Sigma(k, j) times its potential's
// sum of mode 1 from the far field (ring_far_field.h), within farTolerance (a length; 0: no
// ring is far) times the ring's share of the body's area per unit strength, so that phi moves
// by at most farBound = farTolerance max_k |Sigma(k, j)|. A near ring takes the exact panel
// potentials: of half its panels where they are mirror images (the other half count from the
// same ones), of all of them elsewhere. The rows run in parallel where there are enough of
// them; tells progress how far it has come, and throws Cancelled when it asks to stop.
PotentialOnBody MeridianPotential(const ModelState& s, const Array2& Sigma, int j,
                                  double farTolerance, Progress& progress);

}  // namespace tarvenol
