// The far field's sums over the angles of its point rings (ring_far_field.h), on each vector
// path.

#include <bit>
#include <cstdint>

#include "solver/ring_far_field.h"

namespace tarvenol {
namespace {

// The sums run in lanes of this many angles.
constexpr std::size_t kAngleLanes = 8;

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
// there along the field point's normal and tangent, (P - Q) / |P - Q|^3; with kPotential, the
// potential's term of mode 1 as RingPotentialOf takes it, too.
template <bool kPotential>
[[gnu::always_inline]] inline void RingSumsOf(const RingFarField::PointRing* rings, int count,
                                              const RingFieldPoint& p, double sums[6]) {
  double n0[kAngleLanes] = {}, n1[kAngleLanes] = {}, t0[kAngleLanes] = {};
  double t1[kAngleLanes] = {}, c1[kAngleLanes] = {}, p1[kAngleLanes] = {};
  for (int k = 0; k < count; ++k) {
    const RingFarField::PointRing& g = rings[k];
    const double* oneMinusCos = g.table->oneMinusCos.data();
    const double* cosine = g.table->cosine.data();
    const double* mode1 = g.table->mode1.data();
    const double* sine2 = g.table->sine2.data();
    const double* weight = g.table->weight.data();
    const std::size_t angles = g.table->weight.size();
    // |P - Q|^2 as base + b (1 - cos), without the difference of two near numbers.
    const double base = g.dx * g.dx + (p.r - g.rq) * (p.r - g.rq);
    const double b = 2 * p.r * g.rq;
    const double normalX = p.nX * g.dx, tangentX = -p.nR * g.dx, around = -g.w1 * g.rq;
    for (std::size_t j = 0; j < angles; j += kAngleLanes) {
      for (std::size_t l = 0; l < kAngleLanes; ++l) {
        const std::size_t a = j + l;
        const double y = InverseRoot(base + b * oneMinusCos[a]);
        const double u = weight[a] * (y * y * y);
        const double radial = p.r - g.rq * cosine[a];
        const double normal = normalX + p.nR * radial, tangent = tangentX + p.nX * radial;
        const double q0 = g.w0 * u, q1 = g.w1 * u * mode1[a];
        n0[l] = n0[l] + q0 * normal;
        t0[l] = t0[l] + q0 * tangent;
        n1[l] = n1[l] + q1 * normal;
        t1[l] = t1[l] + q1 * tangent;
        c1[l] = c1[l] + around * u * sine2[a];
        if constexpr (kPotential) {
          const double q = weight[a] * y;
          p1[l] = p1[l] + g.w1 * q * mode1[a];
        }
      }
    }
  }
  sums[0] = LanesSum(n0);
  sums[1] = LanesSum(n1);
  sums[2] = LanesSum(t0);
  sums[3] = LanesSum(t1);
  sums[4] = LanesSum(c1);
  sums[5] = kPotential ? LanesSum(p1) : 0;
}

// The potential's sum of mode 1 of the rings at p, times -4 pi: the terms 1 / |P - Q|.
[[gnu::always_inline]] inline double RingPotentialOf(const RingFarField::PointRing* rings,
                                                     int count, const RingFieldPoint& p) {
  double p1[kAngleLanes] = {};
  for (int k = 0; k < count; ++k) {
    const RingFarField::PointRing& g = rings[k];
    const double* oneMinusCos = g.table->oneMinusCos.data();
    const double* mode1 = g.table->mode1.data();
    const double* weight = g.table->weight.data();
    const std::size_t angles = g.table->weight.size();
    const double base = g.dx * g.dx + (p.r - g.rq) * (p.r - g.rq);
    const double b = 2 * p.r * g.rq;
    for (std::size_t j = 0; j < angles; j += kAngleLanes) {
      for (std::size_t l = 0; l < kAngleLanes; ++l) {
        const std::size_t a = j + l;
        const double q = weight[a] * InverseRoot(base + b * oneMinusCos[a]);
        p1[l] = p1[l] + g.w1 * q * mode1[a];
      }
    }
  }
  return LanesSum(p1);
}

template <bool kPotential>
void RingPlain(const RingFarField::PointRing* rings, int count, const RingFieldPoint& p,
               double sums[6]) {
  RingSumsOf<kPotential>(rings, count, p, sums);
}

double PotentialPlain(const RingFarField::PointRing* rings, int count, const RingFieldPoint& p) {
  return RingPotentialOf(rings, count, p);
}

template <bool kPotential>
TARVENOL_AVX2 void RingAvx2(const RingFarField::PointRing* rings, int count,
                            const RingFieldPoint& p, double sums[6]) {
  RingSumsOf<kPotential>(rings, count, p, sums);
}

template <bool kPotential>
TARVENOL_AVX512 void RingAvx512(const RingFarField::PointRing* rings, int count,
                                const RingFieldPoint& p, double sums[6]) {
  RingSumsOf<kPotential>(rings, count, p, sums);
}

TARVENOL_AVX2 double PotentialAvx2(const RingFarField::PointRing* rings, int count,
                                   const RingFieldPoint& p) {
  return RingPotentialOf(rings, count, p);
}

TARVENOL_AVX512 double PotentialAvx512(const RingFarField::PointRing* rings, int count,
                                       const RingFieldPoint& p) {
  return RingPotentialOf(rings, count, p);
}

template <bool kPotential>
RingFarField::RingKernel KernelOf(VectorPath path) {
  return OnVectorPath<RingFarField::RingKernel>(path, RingPlain<kPotential>, RingAvx2<kPotential>,
                                                RingAvx512<kPotential>);
}

}  // namespace

RingFarField::RingKernel RingFarField::KernelFor(VectorPath path, bool withPotential) {
  return withPotential ? KernelOf<true>(path) : KernelOf<false>(path);
}

RingFarField::PotentialKernel RingFarField::PotentialKernelFor(VectorPath path) {
  return OnVectorPath<PotentialKernel>(path, PotentialPlain, PotentialAvx2, PotentialAvx512);
}

}  // namespace tarvenol
