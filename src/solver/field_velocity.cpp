#include "solver/field_velocity.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "solver/solid_angle.h"

namespace tarvenol {
namespace {

// Source panels taken together, side by side in the lanes of the vector loops.
constexpr int kLanes = 64;

constexpr double kFourPi = 4 * std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Panels n0 .. n0 + lanes - 1 at the point: the velocity each induces for unit strength, along
// the body's axes, then added with the flows' strengths. The calls of log and atan2 run in a loop
// of their own between the vector loops.
[[gnu::always_inline]] inline void BlockField(const FieldPanels& P, int n0, int lanes,
                                              const double* const* sigma, int flows,
                                              const double point[3], double V[][3]) {
  double ratio[4][kLanes], re[kLanes], im[kLanes];
  double L[4][kLanes], A[kLanes];
  double vx[kLanes], vy[kLanes], vz[kLanes];
  const auto at = static_cast<std::size_t>(n0);
  const double *xC = &P.xC[at], *yC = &P.yC[at], *zC = &P.zC[at];
  const double *XsiX = &P.XsiX[at], *XsiY = &P.XsiY[at], *XsiZ = &P.XsiZ[at];
  const double *ItaX = &P.ItaX[at], *ItaY = &P.ItaY[at], *ItaZ = &P.ItaZ[at];
  const double *ZtaX = &P.ZtaX[at], *ZtaY = &P.ZtaY[at], *ZtaZ = &P.ZtaZ[at];
  const double *xiOf[4], *etaOf[4], *dOf[4], *dXiOf[4], *dEtaOf[4];
  for (std::size_t k = 0; k < 4; ++k) {
    xiOf[k] = &P.xi[k][at];
    etaOf[k] = &P.eta[k][at];
    dOf[k] = &P.d[k][at];
    dXiOf[k] = &P.dXiByD[k][at];
    dEtaOf[k] = &P.dEtaByD[k][at];
  }

  for (int l = 0; l < lanes; ++l) {
    // The point in the panel's axes, from its control point.
    const double dx = point[0] - xC[l], dy = point[1] - yC[l], dz = point[2] - zC[l];
    const double x = XsiX[l] * dx + XsiY[l] * dy + XsiZ[l] * dz;
    const double y = ItaX[l] * dx + ItaY[l] * dy + ItaZ[l] * dz;
    const double z = ZtaX[l] * dx + ZtaY[l] * dy + ZtaZ[l] * dz;
    double c[4][3], r[4];
    for (int k = 0; k < 4; ++k) {
      c[k][0] = xiOf[k][l] - x;
      c[k][1] = etaOf[k][l] - y;
      c[k][2] = -z;
      r[k] = std::sqrt(c[k][0] * c[k][0] + c[k][1] * c[k][1] + z * z);
    }
    for (int k = 0; k < 4; ++k) {
      const double sum = r[k] + r[(k + 1) % 4];
      ratio[k][l] = (sum + dOf[k][l]) / (sum - dOf[k][l]);
    }
    PolygonHalfAngle(c, r, re[l], im[l]);
  }

  for (int l = 0; l < lanes; ++l) {
    for (int k = 0; k < 4; ++k) L[k][l] = std::log(ratio[k][l]);
    A[l] = std::atan2(im[l], re[l]);
  }

  for (int l = 0; l < lanes; ++l) {
    double Su = 0, Sv = 0;
    for (int k = 0; k < 4; ++k) {
      Su = Su - dEtaOf[k][l] * L[k][l];
      Sv = Sv + dXiOf[k][l] * L[k][l];
    }
    const double u = Su / kFourPi, v = Sv / kFourPi;
    const double w = A[l] / kTwoPi;  // the solid angle, 2 A, over 4 pi
    vx[l] = XsiX[l] * u + ItaX[l] * v + ZtaX[l] * w;
    vy[l] = XsiY[l] * u + ItaY[l] * v + ZtaY[l] * w;
    vz[l] = XsiZ[l] * u + ItaZ[l] * v + ZtaZ[l] * w;
  }

  for (int f = 0; f < flows; ++f) {
    const double* s = sigma[f] + n0;
    for (int l = 0; l < lanes; ++l) {
      V[f][0] += s[l] * vx[l];
      V[f][1] += s[l] * vy[l];
      V[f][2] += s[l] * vz[l];
    }
  }
}

[[gnu::always_inline]] inline void PanelsField(const FieldPanels& P, int begin, int end,
                                               const double* const* sigma, int flows,
                                               const double point[3], double V[][3]) {
  ClearUpperHalves();
  for (int n0 = begin; n0 < end; n0 += kLanes) {
    BlockField(P, n0, std::min(kLanes, end - n0), sigma, flows, point, V);
  }
}

void FieldPlain(const FieldPanels& P, int begin, int end, const double* const* sigma, int flows,
                const double point[3], double V[][3]) {
  PanelsField(P, begin, end, sigma, flows, point, V);
}

TARVENOL_AVX2 void FieldAvx2(const FieldPanels& P, int begin, int end, const double* const* sigma,
                             int flows, const double point[3], double V[][3]) {
  PanelsField(P, begin, end, sigma, flows, point, V);
}

TARVENOL_AVX512 void FieldAvx512(const FieldPanels& P, int begin, int end,
                                 const double* const* sigma, int flows, const double point[3],
                                 double V[][3]) {
  PanelsField(P, begin, end, sigma, flows, point, V);
}

}  // namespace

void FieldOutlineVelocity(const PanelOutline& p, double x, double y, double z, double& u, double& v,
                          double& w) {
  double c[4][3], r[4];
  for (int k = 0; k < 4; ++k) {
    const int slot = k < p.n ? k : 0;
    c[k][0] = p.xi[slot] - x;
    c[k][1] = p.eta[slot] - y;
    c[k][2] = -z;
    r[k] = std::sqrt(c[k][0] * c[k][0] + c[k][1] * c[k][1] + z * z);
  }
  double Su = 0, Sv = 0;
  for (int k = 0; k < p.n; ++k) {
    const double r1 = r[k], r2 = r[k + 1 < p.n ? k + 1 : 0];
    const double L = std::log((r1 + r2 + p.d[k]) / (r1 + r2 - p.d[k]));
    Su = Su - p.dEta[k] * L / p.d[k];
    Sv = Sv + p.dXi[k] * L / p.d[k];
  }
  double re, im;
  PolygonHalfAngle(c, r, re, im);
  u = Su / kFourPi;
  v = Sv / kFourPi;
  w = std::atan2(im, re) / kTwoPi;
}

FieldPanels FieldPanelsOf(const ModelState& s, const std::vector<int>& order) {
  FieldPanels P;
  P.count = static_cast<int>(order.size());
  const std::size_t n = order.size();
  for (std::vector<double>* a : {&P.xC, &P.yC, &P.zC, &P.XsiX, &P.XsiY, &P.XsiZ, &P.ItaX, &P.ItaY,
                                 &P.ItaZ, &P.ZtaX, &P.ZtaY, &P.ZtaZ}) {
    a->assign(n, 0);
  }
  for (std::size_t kk = 0; kk < 4; ++kk) {
    for (std::vector<double>* a :
         {&P.xi[kk], &P.eta[kk], &P.d[kk], &P.dXiByD[kk], &P.dEtaByD[kk]}) {
      a->assign(n, 0);
    }
  }
  const int nj = LoopEnd(s.NJ);
  for (std::size_t at = 0; at < n; ++at) {
    const auto [i, j] = PanelOfNumber(order[at], nj);
    P.xC[at] = s.xC(i, j);
    P.yC[at] = s.yC(i, j);
    P.zC[at] = s.zC(i, j);
    P.XsiX[at] = s.XsiX(i, j);
    P.XsiY[at] = s.XsiY(i, j);
    P.XsiZ[at] = s.XsiZ(i, j);
    P.ItaX[at] = s.ItaX(i, j);
    P.ItaY[at] = s.ItaY(i, j);
    P.ItaZ[at] = s.ItaZ(i, j);
    P.ZtaX[at] = s.ZtaX(i, j);
    P.ZtaY[at] = s.ZtaY(i, j);
    P.ZtaZ[at] = s.ZtaZ(i, j);
    const PanelOutline outline = OutlineOfPanel(s, i, j);
    const auto corners = static_cast<std::size_t>(outline.n);
    for (std::size_t k = 0; k < 4; ++k) {
      const std::size_t slot = k < corners ? k : 0;
      P.xi[k][at] = outline.xi[slot];
      P.eta[k][at] = outline.eta[slot];
    }
    for (std::size_t k = 0; k < corners; ++k) {
      P.d[k][at] = outline.d[k];
      P.dXiByD[k][at] = outline.dXi[k] / outline.d[k];
      P.dEtaByD[k][at] = outline.dEta[k] / outline.d[k];
    }
  }
  return P;
}

FieldKernel FieldKernelFor(VectorPath path) {
  return OnVectorPath<FieldKernel>(path, FieldPlain, FieldAvx2, FieldAvx512);
}

}  // namespace tarvenol
