// The bound of the far field and the rules it chooses (ring_far_field.h).

#include <algorithm>
#include <cmath>
#include <limits>

#include "solver/ring_far_field.h"

namespace tarvenol {
namespace {

// How far a complex parameter may move the panel's points, as a fraction of their distance,
// and the growth of the field that allows: (1 + kappa) / (1 - kappa)^3.
constexpr double kKappa = 0.6;
constexpr double kFieldGrowth = 25;
// Trefethen's constant of the Gauss-Legendre rule's error.
constexpr double kGaussBound = 64.0 / 15;
// Across: the largest |tau| = |t tan alpha|^2, the move of the ring's radius per rho tau
// there, the largest phase, and the most points of the rule.
constexpr double kMostTau = 0.75;
constexpr double kRadiusMove = 1 / 1.5;
constexpr double kPhaseGrowth = 2;
constexpr int kMostAcross = 6;
// A kernel call costs about as much as this many point sources of a ring's sum.
constexpr double kKernelPoints = 50;

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
                            double budget) const {
  const double x = coshEtaLess1;
  const double expEta = 1 + x + std::sqrt(x * (x + 2));
  const double eta = std::log(expEta);
  // The bound W(N) of the aliases of N angles, shift e^(-1.5 / N).
  const auto aliases = [&](int N, double shift) {
    const double strip = eta - kAliasShift / N;
    if (!(strip > 0)) return std::numeric_limits<double>::infinity();
    const double E = expEta * shift;  // e^strip
    const double D2 = rho0Squared - r * rMax * (E - 1) * (E - 1) / E;
    const double sinhStrip = (E - 1 / E) / 2;
    const double V = std::sqrt(1 + 2 * rMax * rMax * sinhStrip * sinhStrip / D2) / (fourPi_ * D2);
    const double decay = std::exp(-(N - 1) * strip);
    return 2 * V * decay / (1 - decay / E);
  };
  const double panels = aliases(nj_, panelShift_);
  if (angleTables_.empty() || !(panels < budget)) return 0;
  const double left = budget - panels;
  const int most = 16 * static_cast<int>(angleTables_.size()) - 2;
  // A first guess from the panels' bound, which decays as e^(-N eta), then M = 16 j - 2 down or
  // up to the fewest.
  const double guess = std::clamp(nj_ - std::log(left / panels) / eta, 14.0, 1.0 * most);
  auto j = static_cast<std::size_t>(std::ceil((guess + 2) / 16));
  const auto angles = [&](std::size_t table) {
    return aliases(static_cast<int>(16 * table - 2), angleShift_[table - 1]);
  };
  if (angles(j) <= left) {
    while (j > 1 && angles(j - 1) <= left) --j;
    return static_cast<int>(16 * j - 2);
  }
  while (j < angleTables_.size()) {
    if (angles(++j) <= left) return static_cast<int>(16 * j - 2);
  }
  return 0;
}

RingRule RingFarField::RuleFor(const RingFieldPoint& p, int k) const {
  const SourceRing& q = rings_[static_cast<std::size_t>(k)];
  if (u_ == 0 || !q.usable || !(p.r > 0)) return {};
  const double dx = p.x - q.xMid, dr = p.r - q.rhoMid;
  const double rho0 = std::sqrt(dx * dx + dr * dr) - q.reach;
  const double S = kKappa * rho0 / q.halfSide;
  if (!(S > 1)) return {};
  const double field = kFieldGrowth / (fourPi_ * rho0 * rho0);
  RingRule rule;
  // (c): the rule along the panel's side.
  const double beta = S + std::sqrt((S - 1) * (S + 1));
  const double alongBound =
      kGaussBound * (q.hMean + S * q.hStep) / (2 * q.hMean) * field / (1 - 1 / (beta * beta));
  rule.along = GaussPointsFor(alongBound, beta, u_ / 4, kMaxGaussPoints);
  // (d): the rule across it.
  const double St =
      std::sqrt(std::min(kMostTau, kKappa * rho0 / (kRadiusMove * q.rMax * cosAlpha_))) / tanAlpha_;
  if (rule.along == 0 || !(St > 1)) return {};
  const double betaT = St + std::sqrt((St - 1) * (St + 1));
  const double acrossBound =
      kGaussBound * q.hMax / (2 * q.hMean) * kPhaseGrowth * field / (1 - 1 / (betaT * betaT));
  const int across = GaussPointsFor(acrossBound, betaT, u_ / 4, kMostAcross);
  if (across == 0) return {};
  rule.across = across + across % 2;  // an odd rule's middle point costs a ring of its own
  // (a) and (b): the aliases of the panels and of the trapezoidal sums.
  rule.angles = AnglesFor(rho0 * rho0 / (2 * p.r * q.rMax), p.r, q.rMax, rho0 * rho0, u_ / 2);
  if (!rule.Far() || PointsOf(rule) >= kKernelPoints * (nj_ / 2 + 1)) return {};
  return rule;
}

}  // namespace tarvenol
