#include "solver/ring_far_field.h"

#include <algorithm>
#include <bit>
#include <boost/math/special_functions/legendre.hpp>
#include <cmath>
#include <cstdint>

#include "geometry/profile_checks.h"

namespace tarvenol {
namespace {

// The trapezoidal sums run in lanes of this many angles.
constexpr int kAngleLanes = 8;

double LanesSum(const double* a) {
  return ((a[0] + a[1]) + (a[2] + a[3])) + ((a[4] + a[5]) + (a[6] + a[7]));
}

// 1 / sqrt(x) for x > 0 within a few units of the last place, by multiplications and additions
// alone: an estimate from the halved exponent, then four Newton steps, each squaring the
// relative error (at most 0.035 at the start). The divider, which a square root and a division
// would keep busy for most of a lane's time, stays free.
[[gnu::always_inline]] inline double InverseRoot(double x) {
  double y = std::bit_cast<double>(0x5fe6eb50c7b537a9 - (std::bit_cast<std::uint64_t>(x) >> 1));
  const double half = 0.5 * x;
  for (int step = 0; step < 4; ++step) y = y * (1.5 - half * y * y);
  return y;
}

// The lanes do the same arithmetic in the same order on every path, and are summed in one
// order, so every path gives the same bits. Each angle's term is the field of the point source
// there along the field point's normal and tangent, (P - Q) / |P - Q|^3.
[[gnu::always_inline]] inline void RingSumsOf(const RingFarField::AngleTable& table,
                                              const RingFarField::PointRing* rings, int count,
                                              const RingFieldPoint& p, double sums[5]) {
  double n0[kAngleLanes] = {}, n1[kAngleLanes] = {}, t0[kAngleLanes] = {};
  double t1[kAngleLanes] = {}, c1[kAngleLanes] = {};
  const double* oneMinusCos = table.oneMinusCos.data();
  const double* cosine = table.cosine.data();
  const double* sine2 = table.sine2.data();
  const double* weight = table.weight.data();
  const std::size_t angles = table.weight.size();
  for (int k = 0; k < count; ++k) {
    const RingFarField::PointRing& g = rings[k];
    // |P - Q|^2 as base + b (1 - cos), without the difference of two near numbers.
    const double base = g.dx * g.dx + (p.r - g.rq) * (p.r - g.rq);
    const double b = 2 * p.r * g.rq;
    const double normalX = p.nX * g.dx, tangentX = -p.nR * g.dx, around = -g.w1 * g.rq;
    for (std::size_t j = 0; j < angles; j += kAngleLanes) {
      for (int l = 0; l < kAngleLanes; ++l) {
        const std::size_t a = j + static_cast<std::size_t>(l);
        const double y = InverseRoot(base + b * oneMinusCos[a]);
        const double u = weight[a] * (y * y * y);
        const double radial = p.r - g.rq * cosine[a];
        const double normal = normalX + p.nR * radial, tangent = tangentX + p.nX * radial;
        const double q0 = g.w0 * u, q1 = g.w1 * u * cosine[a];
        n0[l] = n0[l] + q0 * normal;
        t0[l] = t0[l] + q0 * tangent;
        n1[l] = n1[l] + q1 * normal;
        t1[l] = t1[l] + q1 * tangent;
        c1[l] = c1[l] + around * u * sine2[a];
      }
    }
  }
  sums[0] = LanesSum(n0);
  sums[1] = LanesSum(n1);
  sums[2] = LanesSum(t0);
  sums[3] = LanesSum(t1);
  sums[4] = LanesSum(c1);
}

void RingPlain(const RingFarField::AngleTable& table, const RingFarField::PointRing* rings,
               int count, const RingFieldPoint& p, double sums[5]) {
  RingSumsOf(table, rings, count, p, sums);
}

#if defined(__x86_64__)
TARVENOL_AVX2 void RingAvx2(const RingFarField::AngleTable& table,
                            const RingFarField::PointRing* rings, int count,
                            const RingFieldPoint& p, double sums[5]) {
  RingSumsOf(table, rings, count, p, sums);
}

TARVENOL_AVX512 void RingAvx512(const RingFarField::AngleTable& table,
                                const RingFarField::PointRing* rings, int count,
                                const RingFieldPoint& p, double sums[5]) {
  RingSumsOf(table, rings, count, p, sums);
}
#endif

RingFarField::RingKernel KernelFor(VectorPath path) {
#if defined(__x86_64__)
  if (path == VectorPath::Avx512) return RingAvx512;
  if (path == VectorPath::Avx2) return RingAvx2;
#endif
  (void)path;
  return RingPlain;
}

RingFarField::AngleTable AnglesOf(int M, double twoPi) {
  RingFarField::AngleTable t;
  for (int l = 0; l <= M / 2; ++l) {
    const double theta = twoPi * l / M;
    const double half = std::sin(theta / 2);
    t.oneMinusCos.push_back(2 * half * half);
    t.cosine.push_back(std::cos(theta));
    t.sine2.push_back(std::sin(theta) * std::sin(theta));
    t.weight.push_back(l == 0 || 2 * l == M ? 1 : 2);
  }
  return t;
}

}  // namespace

bool HasProfileGrid(const ModelState& s) {
  const auto rows = static_cast<std::size_t>(std::max(LoopEnd(s.NI), 0)) + 1;
  return !s.xB.Empty() && !s.yB.Empty() && !s.zB.Empty() && s.xB.Limit(0) >= rows &&
         s.yB.Limit(0) >= rows && s.zB.Limit(0) >= rows && !s.NCor.Empty();
}

RingFarField::RingFarField(const ModelState& s, double cosPhi, double sinPhi, double tolerance,
                           VectorPath path)
    : cosPhi_(cosPhi), sinPhi_(sinPhi), fourPi_(s.FourPI), kernel_(KernelFor(path)) {
  const int ni = LoopEnd(s.NI);
  nj_ = LoopEnd(s.NJ);
  // Panels made without a grid (a test's) have no profile to take the rings from: all near.
  if (!HasProfileGrid(s) || nj_ < 3) return;
  alpha_ = s.PI / nj_;
  cosAlpha_ = std::cos(alpha_);
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
  if (u_ == 0) return;

  gauss_.resize(kMaxGaussPoints + 1);
  for (int n = 1; n <= kMaxGaussPoints; ++n) {
    GaussRule& g = gauss_[static_cast<std::size_t>(n)];
    for (const double x : boost::math::legendre_p_zeros<double>(n)) {
      const double dp = boost::math::legendre_p_prime(n, x);
      const double w = 2 / ((1 - x * x) * dp * dp);
      g.s.push_back(x);
      g.w.push_back(w);
      if (x != 0) {
        g.s.push_back(-x);
        g.w.push_back(w);
      }
    }
  }
  for (int M = 14; M <= std::min(nj_, kMaxAngles); M += 16) {
    angleTables_.push_back(AnglesOf(M, s.TwoPI));
    angleShift_.push_back(std::exp(-kAliasShift / M));
  }
  panelShift_ = std::exp(-kAliasShift / nj_);
}

RingFieldPoint RingFarField::FieldPointOf(const ModelState& s, int i) const {
  const double radial = s.yC(i, 1) * cosPhi_ + s.zC(i, 1) * sinPhi_;
  return {s.xC(i, 1), radial > 0 ? std::hypot(s.yC(i, 1), s.zC(i, 1)) : 0, s.ZtaX(i, 1),
          s.ZtaY(i, 1) * cosPhi_ + s.ZtaZ(i, 1) * sinPhi_};
}

RingSums RingFarField::SumsOf(const RingFieldPoint& p, int k, const RingRule& rule) const {
  const SourceRing& q = rings_[static_cast<std::size_t>(k)];
  const GaussRule& along = gauss_[static_cast<std::size_t>(rule.along)];
  const GaussRule& across = gauss_[static_cast<std::size_t>(rule.across)];
  const AngleTable& angles = angleTables_[static_cast<std::size_t>((rule.angles + 2) / 16 - 1)];
  const double areaPerRadius = std::sin(alpha_) * q.L / 2;  // dA = h(s) L / 2 ds dt
  PointRing rings[kMaxPointRings];
  int count = 0;
  for (std::size_t a = 0; a < along.s.size(); ++a) {
    const double f = (1 + along.s[a]) / 2;
    const double R = q.r1 + f * (q.r2 - q.r1);
    const double W = along.w[a] * R * areaPerRadius;
    // The points +-t of the rule across share their ring; their phases sum to 2 cos psi.
    for (std::size_t b = 0; b < across.s.size(); ++b) {
      if (across.s[b] < 0) continue;
      const double stretch = std::sqrt(1 + across.s[b] * tanAlpha_ * across.s[b] * tanAlpha_);
      const double w0 = W * across.w[b] * (across.s[b] > 0 ? 2 : 1);
      rings[count++] = {p.x - (q.x1 + f * (q.x2 - q.x1)), R * cosAlpha_ * stretch, w0,
                        w0 / stretch};
    }
  }
  double sums[5];
  kernel_(angles, rings, count, p, sums);
  // NJ copies of the panel, and the trapezoidal sums' 4 pi M.
  const double scale = nj_ / (fourPi_ * rule.angles);
  return {sums[0] * scale, sums[1] * scale, sums[2] * scale, sums[3] * scale, sums[4] * scale};
}

double RingFarField::PointsOf(const RingRule& rule) {
  return rule.along * ((rule.across + 1) / 2) * (rule.angles / 2 + 1.0);
}

double RingFarField::Bytes(double ni, double nj) {
  const double rings = (ni + 1) * static_cast<double>(sizeof(SourceRing));
  const double tables = std::floor((std::min(nj, double{kMaxAngles}) + 2) / 16);
  // 8 j angles of four numbers for each table j = 1..tables
  const double angles = 4 * 8 * tables * (tables + 1) / 2 * static_cast<double>(sizeof(double));
  return rings + angles;
}

}  // namespace tarvenol
