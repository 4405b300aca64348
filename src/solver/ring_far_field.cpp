#include "solver/ring_far_field.h"

#include <algorithm>
#include <boost/math/special_functions/legendre.hpp>
#include <cmath>

#include "geometry/profile_checks.h"

namespace tarvenol {
namespace {

// The lanes of the kernels' sums.
constexpr std::size_t kAngleLanes = 8;

std::size_t FilledLanes(std::size_t angles) {
  return (angles + kAngleLanes - 1) / kAngleLanes * kAngleLanes;
}

RingFarField::AngleTable AnglesOf(int M, double twoPi) {
  RingFarField::AngleTable t;
  for (int l = 0; l <= M / 2; ++l) {
    const double theta = twoPi * l / M;
    const double half = std::sin(theta / 2);
    t.oneMinusCos.push_back(2 * half * half);
    t.cosine.push_back(std::cos(theta));
    t.mode1.push_back(t.cosine.back());
    t.sine2.push_back(std::sin(theta) * std::sin(theta));
    t.weight.push_back(l == 0 || 2 * l == M ? 1 : 2);
  }
  return t;
}

// The NJ copies of a point at psi, and angles of weight 0 to fill the last lanes.
RingFarField::AngleTable CopiesOf(double psi, int nj, double twoPi) {
  RingFarField::AngleTable t;
  const std::size_t filled = FilledLanes(static_cast<std::size_t>(nj));
  for (std::size_t d = 0; d < filled; ++d) {
    const bool copy = d < static_cast<std::size_t>(nj);
    const double step = copy ? twoPi * static_cast<double>(d) / nj : 0;
    const double theta = psi + step;
    const double half = std::sin(theta / 2);
    t.oneMinusCos.push_back(copy ? 2 * half * half : 0);
    t.cosine.push_back(std::cos(theta));
    t.mode1.push_back(std::cos(step));
    t.sine2.push_back(std::sin(theta) * std::sin(step));
    t.weight.push_back(copy ? 1 : 0);
  }
  return t;
}

}  // namespace

bool HasProfileGrid(const ModelState& s) {
  const auto rows = static_cast<std::size_t>(std::max(LoopEnd(s.NI), 0)) + 1;
  return !s.xB.Empty() && !s.yB.Empty() && !s.zB.Empty() && s.xB.Limit(0) >= rows &&
         s.yB.Limit(0) >= rows && s.zB.Limit(0) >= rows && !s.NCor.Empty();
}

double RingPotentialTolerance(const ModelState& s, double tolerance) {
  if (!HasProfileGrid(s)) return 0;
  double xLeast = s.xB(1, 1), xMost = xLeast, rMost = 0;
  for (int i = 1; i <= LoopEnd(s.NI) + 1; ++i) {
    xLeast = std::min(xLeast, s.xB(i, 1));
    xMost = std::max(xMost, s.xB(i, 1));
    rMost = std::max(rMost, std::hypot(s.yB(i, 1), s.zB(i, 1)));
  }
  return tolerance * std::hypot(xMost - xLeast, 2 * rMost);
}

RingFarField::RingFarField(const ModelState& s, double cosPhi, double sinPhi, double tolerance,
                           VectorPath path)
    : cosPhi_(cosPhi),
      sinPhi_(sinPhi),
      fourPi_(s.FourPI),
      kernel_(KernelFor(path, false)),
      kernelWithPotential_(KernelFor(path, true)),
      potentialKernel_(PotentialKernelFor(path)) {
  const int ni = LoopEnd(s.NI);
  nj_ = LoopEnd(s.NJ);
  // Panels made without a grid (a test's) have no profile to take the rings from: all near.
  if (!HasProfileGrid(s) || nj_ < 3) return;
  alpha_ = s.PI / nj_;
  cosAlpha_ = std::cos(alpha_);
  sinAlpha_ = std::sin(alpha_);
  tanAlpha_ = std::tan(alpha_);
  double size = 0;
  for (int i = 1; i <= ni + 1; ++i) {
    size = std::max({size, std::fabs(s.xB(i, 1)), std::fabs(s.yB(i, 1)), std::fabs(s.zB(i, 1))});
  }
  // The radius of profile point i, 0 on the axis; across marks a point on the far side of the
  // axis from the plane.
  const auto radius = [&](int i, bool& across) {
    const double r = std::hypot(s.yB(i, 1), s.zB(i, 1));
    if (r <= kOnAxis * size) return 0.0;
    across = across || s.yB(i, 1) * cosPhi + s.zB(i, 1) * sinPhi <= 0;
    return r;
  };
  rings_.resize(static_cast<std::size_t>(ni) + 1);
  double area = 0;
  for (int k = 1; k <= ni; ++k) {
    SourceRing& q = rings_[static_cast<std::size_t>(k)];
    bool across = false;
    q.x1 = s.xB(k, 1);
    q.x2 = s.xB(k + 1, 1);
    q.r1 = radius(k, across);
    q.r2 = radius(k + 1, across);
    // A triangle is the trapezoid only where its apex lies on the axis.
    const bool triangle = s.NCor(k, 1) == 3;
    q.usable = !across && ni > 1 && std::max(q.r1, q.r2) > 0 &&
               (!triangle || (k == 1 && q.r1 == 0) || (k == ni && q.r2 == 0));
    const double c = std::cos(alpha_), sn = std::sin(alpha_);
    q.xMid = (q.x1 + q.x2) / 2;
    q.rhoMid = c * (q.r1 + q.r2) / 2;
    q.L = std::hypot(q.x2 - q.x1, c * (q.r2 - q.r1));
    q.halfSide = std::hypot(q.x2 - q.x1, q.r2 - q.r1) / 2;
    q.rMax = std::max(q.r1, q.r2);
    q.reach = q.L / 2 + q.rMax * (1 - c);
    q.hMean = sn * (q.r1 + q.r2) / 2;
    q.hMax = sn * q.rMax;
    q.hStep = sn * std::fabs(q.r2 - q.r1) / 2;
    area += nj_ * 2 * q.L * q.hMean;
  }
  u_ = area > 0 && tolerance > 0 ? tolerance / area : 0;
  if (u_ != 0) MakeTables(s.TwoPI);
}

void RingFarField::MakeTables(double twoPi) {
  gauss_.resize(kMaxGaussPoints + 1);
  stretch_.resize(kMaxGaussPoints + 1);
  for (std::size_t n = 1; n <= kMaxGaussPoints; ++n) {
    GaussRule& g = gauss_[n];
    const int points = static_cast<int>(n);
    for (const double x : boost::math::legendre_p_zeros<double>(points)) {
      const double dp = boost::math::legendre_p_prime(points, x);
      const double w = 2 / ((1 - x * x) * dp * dp);
      g.s.push_back(x);
      g.w.push_back(w);
      if (x != 0) {
        g.s.push_back(-x);
        g.w.push_back(w);
      }
    }
    for (const double t : g.s) {
      stretch_[n].push_back(std::sqrt(1 + t * tanAlpha_ * t * tanAlpha_));
    }
  }
  if (nj_ <= kMaxCopies) {
    for (std::size_t n = 2; n <= kMaxAcross; n += 2) {
      std::vector<AngleTable>& tables = copyTables_.emplace_back();
      for (const double t : gauss_[n].s) {
        if (t > 0) tables.push_back(CopiesOf(std::atan(t * tanAlpha_), nj_, twoPi));
      }
    }
  }
  for (int M = 14; M <= std::min(nj_, kMaxAngles); M += 16) {
    angleTables_.push_back(AnglesOf(M, twoPi));
    angleShift_.push_back(std::exp(-kAliasShift / M));
  }
  panelShift_ = std::exp(-kAliasShift / nj_);
}

RingFieldPoint RingFarField::FieldPointOf(const ModelState& s, int i) const {
  const double radial = s.yC(i, 1) * cosPhi_ + s.zC(i, 1) * sinPhi_;
  return {s.xC(i, 1), radial > 0 ? std::hypot(s.yC(i, 1), s.zC(i, 1)) : 0, s.ZtaX(i, 1),
          s.ZtaY(i, 1) * cosPhi_ + s.ZtaZ(i, 1) * sinPhi_};
}

int RingFarField::PointRingsOf(const RingFieldPoint& p, int k, const RingRule& rule,
                               PointRing* rings) const {
  const SourceRing& q = rings_[static_cast<std::size_t>(k)];
  const GaussRule& along = gauss_[static_cast<std::size_t>(rule.along)];
  const GaussRule& across = gauss_[static_cast<std::size_t>(rule.across)];
  const std::vector<double>& stretch = stretch_[static_cast<std::size_t>(rule.across)];
  const double areaPerRadius = sinAlpha_ * q.L / 2;  // dA = h(s) L / 2 ds dt
  // The copies of the points at each node across have angles of their own.
  const AngleTable* copies =
      rule.copies ? copyTables_[static_cast<std::size_t>(rule.across / 2 - 1)].data() : nullptr;
  const AngleTable* modes = rule.copies ? nullptr : &ModeTable(rule);
  int count = 0;
  for (std::size_t a = 0; a < along.s.size(); ++a) {
    const double f = (1 + along.s[a]) / 2;
    const double R = q.r1 + f * (q.r2 - q.r1);
    const double W = along.w[a] * R * areaPerRadius;
    const double dx = p.x - (q.x1 + f * (q.x2 - q.x1));
    // The points +-t of the rule across share their ring; their phases sum to 2 cos psi, and
    // their copies sum the same.
    int node = 0;
    for (std::size_t b = 0; b < across.s.size(); ++b) {
      if (across.s[b] < 0) continue;
      const double w0 = W * across.w[b] * (across.s[b] > 0 ? 2 : 1);
      rings[count++] = {dx, R * cosAlpha_ * stretch[b], w0, rule.copies ? w0 : w0 / stretch[b],
                        rule.copies ? &copies[node++] : modes};
    }
  }
  return count;
}

const RingFarField::AngleTable& RingFarField::ModeTable(const RingRule& rule) const {
  return angleTables_[static_cast<std::size_t>((rule.angles + 2) / 16 - 1)];
}

RingSums RingFarField::SumsOf(const RingFieldPoint& p, int k, const RingRule& rule,
                              bool withPotential) const {
  PointRing rings[kMaxPointRings];
  double sums[6];
  (withPotential ? kernelWithPotential_ : kernel_)(rings, PointRingsOf(p, k, rule, rings), p, sums);
  // The copies summed, or NJ copies of the panel and the trapezoidal sums' M.
  const double scale = rule.copies ? 1 / fourPi_ : nj_ / (fourPi_ * rule.angles);
  return {sums[0] * scale, sums[1] * scale, sums[2] * scale,
          sums[3] * scale, sums[4] * scale, -sums[5] * scale};
}

double RingFarField::PotentialOf(const RingFieldPoint& p, int k, const RingRule& rule) const {
  PointRing rings[kMaxPointRings];
  const double sum = potentialKernel_(rings, PointRingsOf(p, k, rule, rings), p);
  return -sum * (rule.copies ? 1 / fourPi_ : nj_ / (fourPi_ * rule.angles));
}

bool RingFarField::Mirrored(int k) const {
  return static_cast<std::size_t>(k) < rings_.size() && rings_[static_cast<std::size_t>(k)].usable;
}

double RingFarField::PointsOf(const RingRule& rule) {
  const double angles =
      rule.copies ? static_cast<double>(FilledLanes(static_cast<std::size_t>(rule.angles)))
                  : rule.angles / 2 + 1.0;
  return rule.along * ((rule.across + 1) / 2) * angles;
}

double RingFarField::Bytes(double ni, double nj) {
  const double rings = (ni + 1) * static_cast<double>(sizeof(SourceRing));
  const double tables = std::floor((std::min(nj, double{kMaxAngles}) + 2) / 16);
  // 8 j angles of five numbers for each table j = 1..tables; the copies at 1 + 2 + ... nodes.
  const double angles = 5 * 8 * tables * (tables + 1) / 2;
  const double nodes = kMaxAcross / 2 * (kMaxAcross / 2 + 1) / 2;
  const double copies =
      nj <= kMaxCopies ? 5 * nodes * (std::ceil(nj / kAngleLanes) * kAngleLanes) : 0;
  return rings + (angles + copies) * static_cast<double>(sizeof(double));
}

}  // namespace tarvenol
