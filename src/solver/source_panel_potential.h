#pragma once
// Internal to the solver library: only its own files and its tests include it.
// The potential of a plane panel carrying a source distribution of unit strength per unit area,
// phi = -(1/4 pi) * integral over the panel of dA / R, whose gradient is the velocity of
// OutlineVelocity. Gauss's theorem in the panel's plane, with 1/R the divergence of
// rho (R - |z|) / rho^2 (rho the in-plane vector from the field point's foot), turns the area
// integral into one along the edges, in closed form:
//
//   integral of dA / R = sum over the edges k of a_k L_k  -  z Omega,
//
// a_k the signed distance of the foot from edge k's line (positive on the panel's side),
// L_k = ln((r1 + r2 + d) / (r1 + r2 - d)) the edge's logarithm of the velocity's in-plane terms,
// and Omega the solid angle under which the panel is seen, with the sign of z.

#include "geometry/panel_outline.h"

namespace tarvenol {

// phi at (x, y, z) in the panel's axes from its control point. Finite everywhere, the panel's
// own outline included.
double OutlinePotential(const PanelOutline& p, double FourPI, double x, double y, double z);

}  // namespace tarvenol
