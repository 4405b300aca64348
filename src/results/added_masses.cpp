#include "results/added_masses.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/panel_outline.h"
#include "solver/body_potential.h"
#include "solver/ring_far_field.h"
#include "solver/symmetric_solve.h"

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
                                    const HessSolution& solution, Progress& progress,
                                    const Array2* ringPotentials) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const Array2& turn = solution.flows[kPitchTurn].Sigma;
  const double xc = figures.centreX;

  // The pitch turn's potential is phi_i cos(theta) around the axis, theta the angle of the
  // control point from the y axis: on a body of revolution its equations, and the turn's
  // right-hand side, are those of the pattern cos(theta) alone. One meridian gives phi_i, and
  // m66 = sum_i phi_i g_i.
  const int j0 = MeridianNearestY(s, (ni + 1) / 2);
  double area = 0;
  Array1 g(ni), ringArea(ni);
  for (int i = 1; i <= ni; ++i) {
    const double cos0 = s.yC(i, j0) / std::hypot(s.yC(i, j0), s.zC(i, j0));
    for (int j = 1; j <= nj; ++j) {
      const double a = OutlineArea(OutlineOfPanel(s, i, j));
      const double x = s.xC(i, j) - xc, y = s.yC(i, j);
      const double cosTheta = y / std::hypot(y, s.zC(i, j));
      g(i) += cosTheta / cos0 * (x * s.ZtaY(i, j) - y * s.ZtaX(i, j)) * a;
      ringArea(i) += a;
    }
    area += ringArea(i);
  }
  // |dm66| <= sum_i |dphi_i| |g_i|; each dphi_i within the tolerance times sum_k share_k
  // |sigma_k| (ring_far_field.h), or max_k |sigma_k| (body_potential.h).
  double weight = 0, sigmaMean = 0, sigmaMost = 0;
  for (int i = 1; i <= ni; ++i) {
    weight += std::fabs(g(i));
    sigmaMean += ringArea(i) / area * std::fabs(turn(i, j0));
    sigmaMost = std::max(sigmaMost, std::fabs(turn(i, j0)));
  }
  const auto m66Of = [&](const Array1& phi) {
    double m66 = 0;
    for (int i = 1; i <= ni; ++i) m66 += phi(i) * g(i);
    return m66;
  };

  // The potential from the rings' sums of mode 1, as a solve by the symmetry gathers them; where
  // their bound leaves m66 too little room (a body with little k'), or the panels are not their
  // own mirror images, from the body potential with the tolerance left.
  double m66 = 0, bound = std::numeric_limits<double>::infinity();
  if (MirrorPanels(s)) {
    const Array2 own = ringPotentials != nullptr ? Array2() : RingPotentials(s, progress);
    const Array2& P1 = ringPotentials != nullptr ? *ringPotentials : own;
    Array1 phi(ArrayLimit(s.NI));
    for (int i = 1; i <= ni; ++i) {
      double sum = 0;
      for (int k = 1; k <= ni; ++k) sum += P1(i, k) * turn(k, j0);
      phi(i) = sum;
    }
    m66 = m66Of(phi);
    bound = RingPotentialTolerance(s, kRingFarFieldTolerance) * sigmaMean * weight;
  }
  if (!(bound <= kAddedMassTolerance * std::fabs(m66))) {
    const double room = std::isfinite(bound) ? std::fabs(m66) - bound : 0;
    const double scale = sigmaMost * weight;
    const double tolerance = room > 0 && scale > 0 ? kAddedMassTolerance * room / scale : 0;
    m66 = m66Of(MeridianPotential(s, turn, j0, tolerance, progress).phi);
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
