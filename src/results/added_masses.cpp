#include "results/added_masses.h"

#include <cmath>

#include "geometry/panel_outline.h"
#include "solver/body_potential.h"

namespace tarvenol {
namespace {

// The meridian j whose control points lie nearest the y axis, where the pattern cos(theta) of
// the transverse motions around the axis is largest.
int MeridianNearestY(const ModelState& s, int i) {
  int best = 1;
  for (int j = 2; j <= LoopEnd(s.NJ); ++j) {
    if (s.yC(i, j) / std::hypot(s.yC(i, j), s.zC(i, j)) >
        s.yC(i, best) / std::hypot(s.yC(i, best), s.zC(i, best))) {
      best = j;
    }
  }
  return best;
}

}  // namespace

AddedMassCoefficients TranslationAddedMasses(const ModelState& s, const BodyFigures& figures,
                                             const HessSolution& solution) {
  const Array2& axial = solution.flows[kAxialStream].Sigma;
  const Array2& across = solution.flows[kTransverseStream].Sigma;
  double momentX = 0, momentY = 0;
  for (int i = 1; i <= LoopEnd(s.NI); ++i) {
    for (int j = 1; j <= LoopEnd(s.NJ); ++j) {
      const double area = OutlineArea(OutlineOfPanel(s, i, j));
      momentX += axial(i, j) * area * (s.xC(i, j) - figures.centreX);
      momentY += across(i, j) * area * s.yC(i, j);
    }
  }
  AddedMassCoefficients k;
  k.k1 = std::fabs(momentX) / figures.volume - 1;
  k.k2 = std::fabs(momentY) / figures.volume - 1;
  return k;
}

AddedMassCoefficients AddedMassesOf(const ModelState& s, const BodyFigures& figures,
                                    const HessSolution& solution, Progress& progress) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const Array2& turn = solution.flows[kPitchTurn].Sigma;
  const double xc = figures.centreX;

  // The pitch turn's potential is phi_i cos(theta) around the axis, theta the angle of the
  // control point from the y axis: on a body of revolution its equations, and the turn's
  // right-hand side, are those of the pattern cos(theta) alone. One meridian gives phi_i.
  const int j0 = MeridianNearestY(s, (ni + 1) / 2);
  const Array1 phi = MeridianPotential(s, turn, j0, progress);

  double m66 = 0;
  for (int i = 1; i <= ni; ++i) {
    const double cos0 = s.yC(i, j0) / std::hypot(s.yC(i, j0), s.zC(i, j0));
    for (int j = 1; j <= nj; ++j) {
      const double area = OutlineArea(OutlineOfPanel(s, i, j));
      const double x = s.xC(i, j) - xc, y = s.yC(i, j);
      const double cosTheta = y / std::hypot(y, s.zC(i, j));
      m66 += phi(i) * cosTheta / cos0 * (x * s.ZtaY(i, j) - y * s.ZtaX(i, j)) * area;
    }
  }
  AddedMassCoefficients k = TranslationAddedMasses(s, figures, solution);
  k.kPrime = m66 / figures.inertiaZ;
  return k;
}

AddedMassCoefficients Extrapolated(const AddedMassCoefficients& fine,
                                   const AddedMassCoefficients& coarse, double ratio) {
  const auto extrapolate = [ratio](double f, double c) { return f + (f - c) / (ratio - 1); };
  return {extrapolate(fine.k1, coarse.k1), extrapolate(fine.k2, coarse.k2),
          extrapolate(fine.kPrime, coarse.kPrime)};
}

}  // namespace tarvenol
