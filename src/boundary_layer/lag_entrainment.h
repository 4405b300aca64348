#pragma once
// Internal to the boundary_layer library: only its own files and its tests include it.
// The turbulent boundary layer by Green's lag-entrainment method (Green, Weeks & Brooman, ARC
// R&M 3791, 1973), incompressible, on a body of revolution in the thicknesses over the layer's
// cross-section (boundary_layer/thick_layer.h):
//   dTheta/ds = r0 cf / 2 - (H_a + 2) Theta (dUe/ds) / Ue                  (momentum)
//   d(Ue Phi)/ds = (r0 + delta dr/dn) Ue CE                                 (entrainment)
//   theta dCE/ds = F [2.8 / (H + H1) (sqrt(Ctau_EQ0) - sqrt(Ctau))
//                     + (theta / Ue dUe/ds)_EQ - (theta / Ue) dUe/ds]       (lag)
// which for a layer thin beside r0 are Green's d(r0 theta)/ds and (1 / r0) d(r0 Ue theta H1)/ds
// = Ue CE, the form in which the method's H equation,
//   theta dH/ds = (dH/dH1) [CE - H1 (cf / 2 - (H + 1) (theta / Ue) dUe/ds)],
// comes from the entrainment equation. The wall's theta and H close the equations by Green's
// relations:
//   H1 = 3.15 + 1.72 / (H - 1) - 0.01 (H - 1)^2,
//   cf0 = 0.01013 / (log10 Re_theta - 1.02) - 0.00075,  H0 = 1 / (1 - 6.55 sqrt(cf0 / 2)),
//   cf = cf0 (0.9 / (H / H0 - 0.4) - 0.5),
//   F = (0.02 CE + CE^2 + 0.8 cf0 / 3) / (0.01 + CE),
//   Ctau = 0.024 CE + 1.2 CE^2 + 0.32 cf0,
//   (theta / Ue dUe/ds)_EQ = 1.25 / H (cf / 2 - ((H - 1) / (6.432 H))^2),
//   (theta / Ue dUe/ds)_EQ0 the same with cf0,
//   CE_EQ0 = H1 (cf0 / 2 - (H + 1) (theta / Ue dUe/ds)_EQ0), Ctau_EQ0 = Ctau at CE_EQ0.
// The lag equation lets the turbulence's shear stress follow a change of pressure gradient at
// the rate the flat-plate data give, and cf0, a logarithmic law, keeps the skin friction right
// at the Reynolds numbers of ships (within 1 % of Schoenherr's line on a flat plate from 1e7 to
// 4e7), where the power law of Ludwieg & Tillmann falls below it.
// The layer starts at transition with theta carried over, H = kTransitionH and CE = CE_EQ0 (the
// drag of the DARPA SUBOFF hull moves by less than 0.05 % for a start at H = 1.6); it separates
// where H reaches kTurbulentSeparation.

#include <vector>

#include "boundary_layer/edge_flow.h"
#include "boundary_layer/thick_layer.h"
#include "boundary_layer/turbulent_layer.h"

namespace tarvenol {

// H is kept above this, where H1 has a value.
inline constexpr double kGreenLeastH = 1.05;

// Green's H1(H), and the flat plate's skin friction cf0 at Re_theta.
double GreenH1(double H);
double GreenFlatPlateCf(double ReTheta);

// Green's profiles, numbered by H.
inline constexpr ProfileFamily kGreenProfiles{Itself, GreenH1, kGreenLeastH, kMostTurbulentH};

TurbulentRun MarchLagEntrainment(const EdgeFlow& edge, double nu, double sStart, double theta,
                                 const std::vector<double>& stations);

}  // namespace tarvenol
