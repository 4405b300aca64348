#pragma once
// The turbulent boundary layer by Head's entrainment method (Head, ARC R&M 3152, 1958) in the
// axisymmetric form, for a layer thin beside the body's radius r0:
//   d(r0 theta)/ds = r0 cf / 2 - (H + 2) (r0 theta) (dUe/ds) / Ue         (momentum)
//   d(r0 Ue theta H1)/ds = r0 Ue F(H1)                                      (entrainment)
// H1 = (delta - delta*) / theta, with Head's curves as Cebeci & Bradshaw fit them (Momentum
// Transfer in Boundary Layers, Hemisphere 1977):
//   H1 = 3.3 + 0.8234 (H - 1.1)^-1.287      for H <= 1.6,
//   H1 = 3.3 + 1.5501 (H - 0.6778)^-3.064   for H > 1.6,
//   and back: H = 1.1 + 0.86 (H1 - 3.3)^-0.777 for H1 >= 5.3,
//             H = 0.6778 + 1.1538 (H1 - 3.3)^-0.326 below;
//   F = 0.0306 (H1 - 3)^-0.6169;
// and the skin friction of Ludwieg & Tillmann (Ingenieur-Archiv 17, 1949):
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

namespace tarvenol {

inline constexpr double kTransitionH = 1.4;
inline constexpr double kTurbulentSeparation = 2.4;

double HeadH1(double H);
double HeadH(double H1);
double HeadEntrainment(double H1);
double LudwiegTillmannCf(double H, double ReTheta);

struct TurbulentState {
  double theta = 0, H = 0, cf = 0, ReTheta = 0;
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
