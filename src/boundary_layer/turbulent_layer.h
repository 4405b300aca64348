#pragma once
// The turbulent boundary layer by Head's entrainment method (Head, ARC R&M 3152, 1958) on a body
// of revolution, in the thicknesses over the layer's cross-section (boundary_layer/thick_layer.h,
// as Patel, Aeronautical Quarterly 25, 1974, takes Head's method to thick layers):
//   dTheta/ds = r0 cf / 2 - (H_a + 2) Theta (dUe/ds) / Ue                  (momentum)
//   d(Ue Phi)/ds = (r0 + delta dr/dn) Ue F(H1)                              (entrainment)
// which, for a layer thin beside r0, are d(r0 theta)/ds and d(r0 Ue theta H1)/ds = r0 Ue F(H1).
// H1 = (delta - delta*) / theta, with Head's curves as Cebeci & Bradshaw fit them (Momentum
// Transfer in Boundary Layers, Hemisphere 1977):
//   H1 = 3.3 + 0.8234 (H - 1.1)^-1.287      for H <= 1.6,
//   H1 = 3.3 + 1.5501 (H - 0.6778)^-3.064   for H > 1.6,
//   and back: H = 1.1 + 0.86 (H1 - 3.3)^-0.777 for H1 >= 5.3,
//             H = 0.6778 + 1.1538 (H1 - 3.3)^-0.326 below;
//   F = 0.0306 (H1 - 3)^-0.6169.
// The profile is numbered by H1, H following from it as in the thin layer, where H1 is the flux
// over the momentum area; the skin friction is Ludwieg & Tillmann's (Ingenieur-Archiv 17, 1949)
// in the wall's theta and H:
//   cf = 0.246 10^(-0.678 H) Re_theta^-0.268.
// The layer starts at transition with theta carried over from the laminar layer and H =
// kTransitionH, the customary start of an integral turbulent layer (a young turbulent layer on a
// flat plate, at Re_theta of a few hundred, has H near 1.4). It separates where H reaches
// kTurbulentSeparation.
//
// Lengths are in units of the body length L and velocities in units of the stream's U, so that
// nu = 1 / Re_L.

#include <vector>

#include "boundary_layer/edge_flow.h"
#include "boundary_layer/thick_layer.h"

namespace tarvenol {

inline constexpr double kTransitionH = 1.4;
inline constexpr double kTurbulentSeparation = 2.4;

// H's range in a march of Green's method, and H1's in one of Head's: from H near 1 to well beyond
// separation.
inline constexpr double kMostTurbulentH = 4;
inline constexpr double kHeadLeastH1 = 3.3 + 1e-6, kHeadMostH1 = 1000;

double HeadH1(double H);
double HeadH(double H1);
double HeadEntrainment(double H1);
double LudwiegTillmannCf(double H, double ReTheta);

// Head's profiles, numbered by H1.
inline constexpr ProfileFamily kHeadProfiles{HeadH, Itself, kHeadLeastH1, kHeadMostH1};

// The wall's profile (theta, H, Re_theta on it) and the skin friction, and the momentum area
// and its shape H_a over the cross-section, which the drag takes.
struct TurbulentState {
  double theta = 0, H = 0, cf = 0, ReTheta = 0;
  double momentumArea = 0, HArea = 0;
};

enum class TurbulentEnd { Tail, Separation };

struct TurbulentRun {
  std::vector<double> s;  // the stations passed, and their layer
  std::vector<TurbulentState> layer;
  TurbulentState atStart;
  TurbulentEnd end = TurbulentEnd::Tail;
  double sEnd = 0;  // where it ended
  TurbulentState atEnd;
};

// Marches from transition at sStart, with the laminar momentum thickness theta there, through
// the stations after it, stopping at separation.
TurbulentRun MarchTurbulent(const EdgeFlow& edge, double nu, double sStart, double theta,
                            const std::vector<double>& stations);

}  // namespace tarvenol
