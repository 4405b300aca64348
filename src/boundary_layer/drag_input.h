#pragma once
// The boundary layer's input from a solution of the program: the meridian of the panelled body in
// the axial stream, whose boundary layer is that of the body at zero incidence.
//
// The stations are the nose point, where the stream stagnates (Ue = 0), and then the middle of
// each ring of panels along the profile: s the arc length along the profile's points to the
// middle of the ring's edge on it, x and r0 that middle, and Ue the mean over the ring of the
// axial stream's surface speed |(Ut, Vt)| (the same on every panel of a ring but for rounding).
// The body's measures are the cone frusta between the profile's points.

#include "boundary_layer/boundary_layer.h"
#include "core/model_state.h"
#include "solver/hess_solve.h"

namespace tarvenol {

// Fewer panels along the body resolve neither the nose's stagnation point nor the tail.
inline constexpr double kLeastPanelsAlong = 20;

// Refuses, with a ProgramError, a state without a solution, a solution that is not of the
// panels of s or has no axial stream, fewer than kLeastPanelsAlong panels along the body, and a
// profile whose nose is off the axis or that runs from tail to nose.
BoundaryLayerInput BoundaryLayerInputOf(const ModelState& s, const HessSolution& solution,
                                        double reynolds, const TransitionSetting& transition);

// The edge velocity at a Mach number above 0: each ring's Ue becomes the mean over the ring of
// speed [1..NI, 1..NJ], the isentropic speed of the pressure by Göthert's rule
// (results/goethert.h). Linear theory holds where the disturbance is small, not near a
// stagnation point: towards one it takes the pressure up to the gas's stagnation pressure, and
// past it, where no speed is real, so that the speed falls far below the incompressible one
// before the stagnation point is reached (to a quarter of it on the fourth of 120 rings of the
// DARPA SUBOFF hull at M = 0.3), and the layer would meet a rise of pressure that the flow does
// not have. So from each end to the first ring of suction (a speed of at least the stream's) a
// ring keeps its incompressible speed, scaled by the ratio of the two speeds on that ring;
// between them a ring without a real speed takes the ratio of the nearest ring with one.
void TakeEdgeSpeedsAtMach(BoundaryLayerInput& in, const Array2& speed, int ni, int nj);

}  // namespace tarvenol
