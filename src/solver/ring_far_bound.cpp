// The bound of the far field and the rules it chooses (ring_far_field.h).

#include <algorithm>
#include <cmath>
#include <limits>

#include "solver/ring_far_field.h"

namespace tarvenol {
namespace {

// How far a complex parameter may move the panel's points, as a fraction of their distance,
// and the growth that allows of the field, (1 + kappa) / (1 - kappa)^3, and of the potential,
// 1 / (1 - kappa).
constexpr double kKappa = 0.6;
constexpr double kFieldGrowth = 25;
constexpr double kPotentialGrowth = 2.5;
// Trefethen's constant of the Gauss-Legendre rule's error.
constexpr double kGaussBound = 64.0 / 15;
// Across a point's ring: the largest |tau| = |t tan alpha|^2, the move of the ring's radius per
// rho tau there, and the largest phase.
constexpr double kMostTau = 0.75;
constexpr double kRadiusMove = 1 / 1.5;
constexpr double kPhaseGrowth = 2;
// A kernel call costs about as much as this many point sources of a ring's sum.
constexpr double kKernelPoints = 50;

// x^n for n >= 0, by squaring.
double Power(double x, int n) {
  double result = 1;
  for (; n > 0; n /= 2, x *= x) {
    if (n % 2 != 0) result *= x;
  }
  return result;
}

// The fewest points, at most most, of a Gauss rule whose error bound * beta^(-2n) stays within
// budget; 0 for none.
int GaussPointsFor(double bound, double beta, double budget, int most) {
  const double beta2 = beta * beta;
  double shrink = 1;
  for (int n = 1; n <= most; ++n) {
    shrink = shrink * beta2;
    if (bound <= budget * shrink) return n;
  }
  return 0;
}

}  // namespace

int RingFarField::AnglesFor(double coshEtaLess1, double r, double rMax, double rho0Squared,
                            double budget, RingQuantity quantity, std::size_t tables) const {
  const double x = coshEtaLess1;
  const double expEta = 1 + x + std::sqrt(x * (x + 2));
  // The bound W(N) of the aliases of N angles, shift e^(-1.5 / N).
  const auto aliases = [&](int N, double shift) {
    const double E = expEta * shift;  // e^strip, strip = eta - 1.5 / N
    if (!(E > 1)) return std::numeric_limits<double>::infinity();
    const double D2 = rho0Squared - r * rMax * (E - 1) * (E - 1) / E;
    const double sinhStrip = (E - 1 / E) / 2;
    const double V =
        quantity == RingQuantity::Potential
            ? 1 / (fourPi_ * std::sqrt(D2))
            : std::sqrt(1 + 2 * rMax * rMax * sinhStrip * sinhStrip / D2) / (fourPi_ * D2);
    const double decay = 1 / Power(E, N - 1);
    return 2 * V * decay / (1 - decay / E);
  };
  const double panels = aliases(nj_, panelShift_);
  if (tables == 0 || !(panels < budget)) return 0;
  const double left = budget - panels;
  const int most = 16 * static_cast<int>(tables) - 2;
  // A first guess from the panels' bound, which decays as e^(-N eta), then M = 16 j - 2 down or
  // up to the fewest.
  const double guess =
      tables == 1 ? 14
                  : std::clamp(nj_ - std::log(left / panels) / std::log(expEta), 14.0, 1.0 * most);
  auto j = static_cast<std::size_t>(std::ceil((guess + 2) / 16));
  const auto angles = [&](std::size_t table) {
    return aliases(static_cast<int>(16 * table - 2), angleShift_[table - 1]);
  };
  if (angles(j) <= left) {
    while (j > 1 && angles(j - 1) <= left) --j;
    return static_cast<int>(16 * j - 2);
  }
  while (j < tables) {
    if (angles(++j) <= left) return static_cast<int>(16 * j - 2);
  }
  return 0;
}

RingRule RingFarField::RuleFor(const RingFieldPoint& p, int k, RingQuantity quantity) const {
  const SourceRing& q = rings_[static_cast<std::size_t>(k)];
  if (u_ == 0 || !q.usable || !(p.r > 0)) return {};
  const double dx = p.x - q.xMid, dr = p.r - q.rhoMid;
  const double rho0 = std::sqrt(dx * dx + dr * dr) - q.reach;
  const double S = kKappa * rho0 / q.halfSide;
  if (!(S > 1)) return {};
  const double field = quantity == RingQuantity::Potential ? kPotentialGrowth / (fourPi_ * rho0)
                                                           : kFieldGrowth / (fourPi_ * rho0 * rho0);
  // (c): the rule along the panel's side.
  const double beta = S + std::sqrt((S - 1) * (S + 1));
  const double alongBound =
      kGaussBound * (q.hMean + S * q.hStep) / (2 * q.hMean) * field / (1 - 1 / (beta * beta));
  const int along = GaussPointsFor(alongBound, beta, u_ / 4, kMaxGaussPoints);
  // (d): the rule across it, with |t| up to St and the field's growth there; an even number of
  // points, as an odd rule's middle point costs a ring of its own.
  const auto acrossFor = [&](double St, double growth) {
    if (!(St > 1)) return 0;
    const double betaT = St + std::sqrt((St - 1) * (St + 1));
    const double bound =
        kGaussBound * q.hMax / (2 * q.hMean) * growth * field / (1 - 1 / (betaT * betaT));
    const int n = GaussPointsFor(bound, betaT, u_ / 4, kMaxAcross);
    return n + n % 2;
  };
  if (along == 0) return {};
  const int acrossPoint = acrossFor(kKappa * rho0 / q.hMax, 1);
  // The copies, where they are kept, or the kernel.
  RingRule best;
  double cost = kKernelPoints * (nj_ / 2 + 1);
  if (acrossPoint != 0 && !copyTables_.empty()) {
    const RingRule copies{along, acrossPoint, nj_, true};
    if (PointsOf(copies) < cost) {
      best = copies;
      cost = PointsOf(copies);
    }
  }
  // The modes, where their fewest angles, 8, could cost less: the rule across the point's ring
  // may take fewer points, and then (a) and (b), the aliases of the panels and of the
  // trapezoidal sums, up to the most angles that still cost less.
  const auto pointRings = [along](int across) { return along * (across / 2); };
  if (angleTables_.empty() || pointRings(2) * 8 >= cost) return best;
  const int acrossRing = acrossFor(
      std::sqrt(std::min(kMostTau, kKappa * rho0 / (kRadiusMove * q.rMax * cosAlpha_))) / tanAlpha_,
      kPhaseGrowth);
  const int across =
      acrossRing == 0 || (acrossPoint != 0 && acrossPoint < acrossRing) ? acrossPoint : acrossRing;
  if (across == 0) return best;
  // 8 j angles of table j cost less than cost for j below this.
  const double tables = std::ceil(cost / (8.0 * pointRings(across))) - 1;
  const RingRule modes{
      along, across,
      AnglesFor(rho0 * rho0 / (2 * p.r * q.rMax), p.r, q.rMax, rho0 * rho0, u_ / 2, quantity,
                static_cast<std::size_t>(
                    std::clamp(tables, 0.0, static_cast<double>(angleTables_.size()))))};
  return modes.Far() ? modes : best;
}

}  // namespace tarvenol
