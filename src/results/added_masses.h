#pragma once
// The added masses of the body: what the fluid adds to the body's mass when the body is
// accelerated along its axis (k1), across it (k2), or turned about a transverse axis through its
// centre of volume (k'), as coefficients on the displaced fluid's mass and its moment of
// inertia.
//
// k1 and k2 come from the first moments of the sources of the axial and the transverse stream:
// far away a body that moves at U in fluid at rest is seen as a doublet, and Taylor's theorem
// gives (m_ii + rho V) U = rho |sum of sigma A x_i| over the panels, V the panelled body's
// volume (for the stream past the body the sources change sign, which the modulus hides).
// k' comes from the disturbance potential phi on the body of the pitch turn's solution:
// m66 = rho times the integral over the body of phi ((r - c) x n)_z, c the centre of volume.
// Flat panels make all three converge about as 1/N.

#include <optional>

#include "geometry/body_figures.h"
#include "results/exact_pressure.h"
#include "solver/hess_solve.h"

namespace tarvenol {

struct AddedMassCoefficients {
  double k1 = 0;      // m11 / (rho V)
  double k2 = 0;      // m22 / (rho V)
  double kPrime = 0;  // m66 / (rho Izz), Izz of the displaced fluid about the centre
};

// The far field of the potential on the body moves m66 by at most this share of itself.
inline constexpr double kAddedMassTolerance = 1e-9;

// k1 and k2 alone, from the first moments of the sources of the axial and the transverse stream
// of a solution on the panels of s: a sum over the panels, with no potential to compute.
AddedMassCoefficients TranslationAddedMasses(const ModelState& s, const BodyFigures& figures,
                                             const HessSolution& solution);

// From a solution carrying the three onset flows of IncidenceOnsetFlows(figures.centreX) on the
// panels of s, a body of revolution. The potential on the body is sum_k P1(i, k) sigma_k, P1
// the rings' potential sums of mode 1 (symmetric_solve.h) that a solve by the symmetry gathers
// (ringPotentials, where it did) or that are gathered here, within a bound that moves m66 by at
// most kAddedMassTolerance |m66|; where that bound leaves too little room, or the panels are no
// mirror images, the potential of the body (solver/body_potential.h) takes the tolerance left.
// Tells progress, which may stop it (Cancelled).
AddedMassCoefficients AddedMassesOf(const ModelState& s, const BodyFigures& figures,
                                    const HessSolution& solution, Progress& progress,
                                    const Array2* ringPotentials = nullptr);

// The figures of a body and its added masses: as its solution gives them, as a solution with half
// the panels around the body (and along the sphere) gives them, and Richardson's estimate from
// the two.
struct BodyReport {
  BodyFigures figures;
  AddedMassCoefficients solution, coarse, extrapolated;
  int coarseNI = 0, coarseNJ = 0;
  double ratio = 2;                  // panels around, the solution's to the coarse one's
  std::optional<Spheroid> spheroid;  // Lamb's coefficients, where the body is one
};

// Richardson's extrapolation of coefficients whose error goes as 1/N, from those of a solution
// and of one with `ratio` times fewer panels around the body: fine + (fine - coarse)/(ratio - 1).
AddedMassCoefficients Extrapolated(const AddedMassCoefficients& fine,
                                   const AddedMassCoefficients& coarse, double ratio);

}  // namespace tarvenol
