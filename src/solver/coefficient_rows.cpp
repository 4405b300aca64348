#include "solver/coefficient_rows.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "solver/solid_angle.h"
#include "solver/source_panel_velocity.h"

namespace tarvenol {

// What the loops over one block of source panels hand on to each other, per edge and lane: the
// parts of the formula before the calls of log and atan, the terms after them, then the sums
// over the edges so far.
struct alignas(64) RowWork {
  double side[kLanes];                               // -1 below the panel's plane, else 1
  double inPlane[kLanes];                            // 1 in the panel's plane, else 0
  double over[4][kLanes], under[4][kLanes];          // r1 + r2 + d and r1 + r2 - d
  double tD[4][kLanes], D[4][kLanes], a[4][kLanes];  // t = tD / D
  double t[4][kLanes], A[4][kLanes];                 // t and atan(t)
  double u[4][kLanes], v[4][kLanes];                 // the edge's terms dEta L / d and dXi L / d
  double aL[4][kLanes];                              // and a L, the potential's
  double Su[kLanes], Sv[kLanes], SA[kLanes], SaL[kLanes];
  double absZ[kLanes];
  double B[kLanes];     // 0 once some edge has the field point's foot outside it, else 2 pi
  double near[kLanes];  // 1 where the point lies near the line of an edge, else 0
};

RowWorkAreas::RowWorkAreas(int threads) {
  for (int t = 0; t < threads; ++t) areas_.push_back(std::make_unique_for_overwrite<RowWork>());
}

RowWorkAreas::~RowWorkAreas() = default;

namespace {

using Block = RowWork;

// Edge k of lane l added to the sums, with its angle term turned as the plain formula turns it.
template <bool kPotential>
[[gnu::always_inline]] inline void AddEdge(Block& b, const KernelConstants& c, int k, int l) {
  const double t = b.t[k][l], a = b.a[k][l];
  double A = b.A[k][l];
  // Each turn is formed and then taken or not, which lets the lanes run as one vector.
  const double turned = A + c.PI;
  A = ((b.D[k][l] != 0) & (t < 0)) ? turned : A;  // into [0, pi)
  const double outside = A - c.PI;
  A = a < 0 ? outside : A;
  const double onLine = A + c.PI;
  A = a == 0 ? onLine : A;
  b.B[l] = a < 0 ? 0 : b.B[l];
  b.Su[l] = b.Su[l] - b.u[k][l];
  b.Sv[l] = b.Sv[l] + b.v[k][l];
  b.SA[l] = b.SA[l] + A;
  if constexpr (kPotential) b.SaL[l] = b.SaL[l] + b.aL[k][l];
}

// What each edge k of a lane's panel needs of the field point (x, y, z) in the panel's axes:
// the corners' distances r, their positions p1, p2 along the edge from the foot of the point,
// and the foot's signed distance a from the edge's line, positive on the interior side.
struct EdgeTerms {
  double r[4], p1[4], p2[4], a[4];
};

[[gnu::always_inline]] inline void EdgeTermsOf(const double* const* xiOf,
                                               const double* const* etaOf,
                                               const double* const* dXiOf,
                                               const double* const* dEtaOf,
                                               const double* const* dOf, int l, double x, double y,
                                               double z, EdgeTerms& e) {
  double x1[4], y1[4], xr[4], yr[4];
  for (int k = 0; k < 4; ++k) {
    const double xi = xiOf[k][l];
    const double eta = etaOf[k][l];
    x1[k] = x - xi;
    y1[k] = y - eta;
    xr[k] = xi - x;
    yr[k] = eta - y;
    e.r[k] = std::sqrt(x1[k] * x1[k] + y1[k] * y1[k] + z * z);
  }
  for (int k = 0; k < 4; ++k) {
    const int k1 = (k + 1) % 4;
    const double dXi = dXiOf[k][l], dEta = dEtaOf[k][l], d = dOf[k][l];
    e.p1[k] = (dXi * xr[k] + dEta * yr[k]) / d;
    e.p2[k] = (dXi * xr[k1] + dEta * yr[k1]) / d;
    e.a[k] = (dEta * x1[k] - dXi * y1[k]) / d;
  }
}

// The source panels n0 .. n0 + kLanes - 1 of a block, lane by lane.
struct BlockPanels {
  const double *xC, *yC, *zC;
  const double *XsiX, *XsiY, *XsiZ, *ItaX, *ItaY, *ItaZ, *ZtaX, *ZtaY, *ZtaZ;
  const double* four;
  const double *xiOf[4], *etaOf[4], *dXiOf[4], *dEtaOf[4], *dOf[4];

  // From lane l's control point to the field panel's, in lane l's axes.
  [[gnu::always_inline]] void InAxes(const FieldPanel& f, int l, double& x, double& y,
                                     double& z) const {
    const double dx = f.xC - xC[l];
    const double dy = f.yC - yC[l];
    const double dz = f.zC - zC[l];
    x = XsiX[l] * dx + XsiY[l] * dy + XsiZ[l] * dz;
    y = ItaX[l] * dx + ItaY[l] * dy + ItaZ[l] * dz;
    z = ZtaX[l] * dx + ZtaY[l] * dy + ZtaZ[l] * dz;
  }

  // The velocity (u, v, w) in lane l's axes back to global axes, then onto the field panel's.
  [[gnu::always_inline]] void ToFieldAxes(const FieldPanel& f, int l, double u, double v, double w,
                                          double* vn, double* vu, double* vv) const {
    const double Vx = XsiX[l] * u + ItaX[l] * v + ZtaX[l] * w;
    const double Vy = XsiY[l] * u + ItaY[l] * v + ZtaY[l] * w;
    const double Vz = XsiZ[l] * u + ItaZ[l] * v + ZtaZ[l] * w;
    vu[l] = f.XsiX * Vx + f.XsiY * Vy + f.XsiZ * Vz;
    vv[l] = f.ItaX * Vx + f.ItaY * Vy + f.ItaZ * Vz;
    vn[l] = f.ZtaX * Vx + f.ZtaY * Vy + f.ZtaZ * Vz;
  }
};

[[gnu::always_inline]] inline BlockPanels BlockPanelsAt(const SourcePanels& P, int n0) {
  const auto at = static_cast<std::size_t>(n0);
  BlockPanels q{&P.xC[at],          &P.yC[at],   &P.zC[at],   &P.XsiX[at], &P.XsiY[at], &P.XsiZ[at],
                &P.ItaX[at],        &P.ItaY[at], &P.ItaZ[at], &P.ZtaX[at], &P.ZtaY[at], &P.ZtaZ[at],
                &P.fourCorners[at], {},          {},          {},          {},          {}};
  for (int k = 0; k < 4; ++k) {
    q.xiOf[k] = &P.xi[k][at];
    q.etaOf[k] = &P.eta[k][at];
    q.dXiOf[k] = &P.dXi[k][at];
    q.dEtaOf[k] = &P.dEta[k][at];
    q.dOf[k] = &P.d[k][at];
  }
  return q;
}

// Each lane's field point in its axes, and each edge's terms of it.
template <bool kPotential>
[[gnu::always_inline]] inline void BlockEdges(const BlockPanels& q, const FieldPanel& f,
                                              Block& __restrict b) {
  for (int l = 0; l < kLanes; ++l) {
    double x, y, z;
    q.InAxes(f, l, x, y, z);
    b.side[l] = z < 0 ? -1 : 1;
    b.inPlane[l] = z == 0 ? 1 : 0;
    if constexpr (kPotential) b.absZ[l] = std::fabs(z);
    EdgeTerms e;
    EdgeTermsOf(q.xiOf, q.etaOf, q.dXiOf, q.dEtaOf, q.dOf, l, x, y, z, e);
    bool near = false;
    for (int k = 0; k < 4; ++k) {
      const double r1 = e.r[k], r2 = e.r[(k + 1) % 4];
      const double p1 = e.p1[k], p2 = e.p2[k], a = e.a[k], d = q.dOf[k][l];
      b.over[k][l] = r1 + r2 + d;
      b.under[k][l] = r1 + r2 - d;
      b.D[k][l] = a * a * r1 * r2 + z * z * p1 * p2;
      b.tD[k][l] = a * std::fabs(z) * (r1 * p2 - r2 * p1);
      b.a[k][l] = a;
      near = near | (NearAnEdgesLine(a, r1, r2) & ((k < 3) | (q.four[l] != 0)));
    }
    b.near[l] = near ? 1 : 0;
  }
}

// The calls, one after another, with the divisions around them: the divider, which the vector
// loops keep busy, is free while log and atan run. A panel of three corners has no fourth edge.
template <bool kPotential>
[[gnu::always_inline]] inline void BlockLogarithmsAndAngles(const BlockPanels& q,
                                                            Block& __restrict b) {
  for (int k = 0; k < 4; ++k) {
    for (int l = 0; l < kLanes; ++l) {
      if (k < 3 || q.four[l] != 0) {
        const double L = std::log(b.over[k][l] / b.under[k][l]);
        b.u[k][l] = q.dEtaOf[k][l] * L / q.dOf[k][l];
        b.v[k][l] = q.dXiOf[k][l] * L / q.dOf[k][l];
        const double D = b.D[k][l];
        const double t = b.tD[k][l] / D;
        b.t[k][l] = t;
        b.A[k][l] = D != 0 ? std::atan(t) : 0;
        // On an edge's line a is 0 and its logarithm may be infinite: the term is 0.
        if constexpr (kPotential) b.aL[k][l] = b.a[k][l] == 0 ? 0 : b.a[k][l] * L;
      }
    }
  }
}

// The edges' terms summed, lane by lane.
template <bool kPotential>
[[gnu::always_inline]] inline void BlockSums(const BlockPanels& q, const KernelConstants& c,
                                             Block& __restrict b) {
  for (int l = 0; l < kLanes; ++l) {
    b.Su[l] = 0;
    b.Sv[l] = 0;
    b.SA[l] = 0;
    b.SaL[l] = 0;
    b.B[l] = c.TwoPI;
  }
  bool allFour = true;
  for (int l = 0; l < kLanes; ++l) allFour = allFour && q.four[l] != 0;
  for (int k = 0; k < 4; ++k) {
    if (k < 3 || allFour) {
      for (int l = 0; l < kLanes; ++l) AddEdge<kPotential>(b, c, k, l);
    } else {
      for (int l = 0; l < kLanes; ++l) {
        if (q.four[l] != 0) AddEdge<kPotential>(b, c, k, l);
      }
    }
  }
}

// Where the angle sum is unsound, the solid angle instead, one lane at a time: a point near
// the line of an edge is rare, and none lies there in most blocks.
// Kept out of line: the kernel's frame stays small enough for the least stack a thread is
// given, and the rare lanes cost a call.
[[gnu::noinline]] void MendNearEdgeLines(const BlockPanels& q, const FieldPanel& f,
                                         const KernelConstants& c, const Block& b, double* vn,
                                         double* vu, double* vv) {
  bool anyNear = false;
  for (int l = 0; l < kLanes; ++l) anyNear = anyNear | (b.near[l] != 0);
  if (!anyNear) return;
  for (int l = 0; l < kLanes; ++l) {
    if (b.near[l] == 0) continue;
    double x, y, z;
    q.InAxes(f, l, x, y, z);
    EdgeTerms e;
    EdgeTermsOf(q.xiOf, q.etaOf, q.dXiOf, q.dEtaOf, q.dOf, l, x, y, z, e);
    bool mend = false;
    for (int k = 0; k < (q.four[l] != 0 ? 4 : 3); ++k) {
      mend = mend || OnAnEdgesLineBeyondIt(e.a[k], e.r[k], e.r[(k + 1) % 4], e.p1[k], e.p2[k]);
    }
    if (!mend) continue;
    const double xi[4] = {q.xiOf[0][l], q.xiOf[1][l], q.xiOf[2][l], q.xiOf[3][l]};
    const double eta[4] = {q.etaOf[0][l], q.etaOf[1][l], q.etaOf[2][l], q.etaOf[3][l]};
    q.ToFieldAxes(f, l, b.Su[l] / c.FourPI, b.Sv[l] / c.FourPI,
                  SolidAngleNormalVelocity(xi, eta, x, y, z), vn, vu, vv);
  }
}

// The velocity that panel n0 + l induces at the field point is the plain formula for one
// panel at one point (OutlineVelocity), lane by lane: the same operations on the same values in
// the same order, so the same bits. Each corner's distance serves the two edges that meet there.
// With kPotential, the potential too, from the same logarithms and solid angle: the edge terms
// of OutlinePotential, and its solid angle as the velocity's normal part takes it.
template <bool kPotential>
[[gnu::always_inline]] inline void BlockVelocity(const SourcePanels& P, const FieldPanel& f,
                                                 const KernelConstants& c, int n0,
                                                 Block& __restrict b, double* __restrict vn,
                                                 double* __restrict vu, double* __restrict vv,
                                                 double* __restrict vp) {
  const BlockPanels q = BlockPanelsAt(P, n0);
  BlockEdges<kPotential>(q, f, b);
  BlockLogarithmsAndAngles<kPotential>(q, b);
  BlockSums<kPotential>(q, c, b);
  for (int l = 0; l < kLanes; ++l) {
    // B - SA is the solid angle under which the panel is seen.
    const double u = b.Su[l] / c.FourPI;
    const double v = b.Sv[l] / c.FourPI;
    const double solid = b.side[l] * (b.B[l] - b.SA[l]) / c.FourPI;
    const double w = ((b.inPlane[l] != 0) & (b.B[l] == 0)) ? 0.0 : solid;
    q.ToFieldAxes(f, l, u, v, w, vn, vu, vv);
    if constexpr (kPotential) vp[l] = -(b.SaL[l] - b.absZ[l] * (b.B[l] - b.SA[l])) / c.FourPI;
  }
  MendNearEdgeLines(q, f, c, b, vn, vu, vv);
}

// The last block of a row, n0..end - 1, computed into a spare row end and copied. Out of line,
// as the rare lanes are: the kernel's frame stays small enough for the least stack a thread is
// given (every vector path gives the same bits).
template <bool kPotential>
[[gnu::noinline]] void TailBlock(const SourcePanels& P, const FieldPanel& f,
                                 const KernelConstants& c, int n0, int end, Block& b, double* vn,
                                 double* vu, double* vv, double* vp) {
  double tail[4][kLanes];
  BlockVelocity<kPotential>(P, f, c, n0, b, tail[0], tail[1], tail[2], tail[3]);
  const auto left = static_cast<std::size_t>(end - n0);
  std::copy_n(tail[0], left, vn + 1 + n0);
  std::copy_n(tail[1], left, vu + 1 + n0);
  std::copy_n(tail[2], left, vv + 1 + n0);
  if constexpr (kPotential) std::copy_n(tail[3], left, vp + 1 + n0);
}

// Columns begin + 1..end of one row, a block of source panels at a time.
template <bool kPotential>
[[gnu::always_inline]] inline void RowVelocities(const SourcePanels& P, int begin, int end,
                                                 const FieldPanel& f, const KernelConstants& c,
                                                 Block& b, double* vn, double* vu, double* vv,
                                                 double* vp) {
  ClearUpperHalves();
  int n0 = begin;
  for (; n0 + kLanes <= end; n0 += kLanes) {
    BlockVelocity<kPotential>(P, f, c, n0, b, vn + 1 + n0, vu + 1 + n0, vv + 1 + n0,
                              kPotential ? vp + 1 + n0 : nullptr);
  }
  if (n0 < end) TailBlock<kPotential>(P, f, c, n0, end, b, vn, vu, vv, vp);
}

// The row, with the potential where vp is given.
[[gnu::always_inline]] inline void Row(const SourcePanels& P, int begin, int end,
                                       const FieldPanel& f, const KernelConstants& c, Block& b,
                                       double* vn, double* vu, double* vv, double* vp) {
  if (vp != nullptr) {
    RowVelocities<true>(P, begin, end, f, c, b, vn, vu, vv, vp);
  } else {
    RowVelocities<false>(P, begin, end, f, c, b, vn, vu, vv, vp);
  }
}

void RowPlain(const SourcePanels& P, int begin, int end, const FieldPanel& f,
              const KernelConstants& c, RowWork& b, double* vn, double* vu, double* vv,
              double* vp) {
  Row(P, begin, end, f, c, b, vn, vu, vv, vp);
}

TARVENOL_AVX2 void RowAvx2(const SourcePanels& P, int begin, int end, const FieldPanel& f,
                           const KernelConstants& c, RowWork& b, double* vn, double* vu, double* vv,
                           double* vp) {
  Row(P, begin, end, f, c, b, vn, vu, vv, vp);
}

TARVENOL_AVX512 void RowAvx512(const SourcePanels& P, int begin, int end, const FieldPanel& f,
                               const KernelConstants& c, RowWork& b, double* vn, double* vu,
                               double* vv, double* vp) {
  Row(P, begin, end, f, c, b, vn, vu, vv, vp);
}

template <RowRangeFunction Range>
void WholeRow(const SourcePanels& P, const FieldPanel& f, const KernelConstants& c, RowWork& b,
              double* vn, double* vu, double* vv) {
  Range(P, 0, P.count, f, c, b, vn, vu, vv, nullptr);
}

}  // namespace

RowRangeFunction RowRangeFor(VectorPath path) {
  return OnVectorPath<RowRangeFunction>(path, RowPlain, RowAvx2, RowAvx512);
}

RowFunction RowFor(VectorPath path) {
  return OnVectorPath<RowFunction>(path, WholeRow<RowPlain>, WholeRow<RowAvx2>,
                                   WholeRow<RowAvx512>);
}

}  // namespace tarvenol
