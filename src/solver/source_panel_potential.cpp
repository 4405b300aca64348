#include "solver/source_panel_potential.h"

#include <cmath>

namespace tarvenol {
namespace {

// The solid angle of the triangle a, b, c seen from the origin, signed by the triple product
// (van Oosterom and Strackee): no special case near the panel's plane or its edges.
double TriangleSolidAngle(const double a[3], const double b[3], const double c[3]) {
  const double la = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
  const double lb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
  const double lc = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
  const double triple = a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                        a[2] * (b[0] * c[1] - b[1] * c[0]);
  const double ab = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const double ac = a[0] * c[0] + a[1] * c[1] + a[2] * c[2];
  const double bc = b[0] * c[0] + b[1] * c[1] + b[2] * c[2];
  return 2 * std::atan2(triple, la * lb * lc + ab * lc + ac * lb + bc * la);
}

}  // namespace

double OutlinePotential(const PanelOutline& p, double FourPI, double x, double y, double z) {
  double edges = 0;
  for (int k = 0; k < p.n; ++k) {
    const int k1 = k + 1 < p.n ? k + 1 : 0;
    const double x1 = x - p.xi[k], y1 = y - p.eta[k];
    const double x2 = x - p.xi[k1], y2 = y - p.eta[k1];
    const double a = (p.dEta[k] * x1 - p.dXi[k] * y1) / p.d[k];
    // On an edge's line a is 0 and its logarithm may be infinite: the term is 0.
    if (a == 0) continue;
    const double r1 = std::sqrt(x1 * x1 + y1 * y1 + z * z);
    const double r2 = std::sqrt(x2 * x2 + y2 * y2 + z * z);
    edges += a * std::log((r1 + r2 + p.d[k]) / (r1 + r2 - p.d[k]));
  }
  double omega = 0;
  if (z != 0) {
    // The corners from the field point; the fan of triangles from the first corner. The
    // corners run clockwise seen from +z, which makes the triple products positive there.
    const double c0[3] = {p.xi[0] - x, p.eta[0] - y, -z};
    for (int k = 1; k + 1 < p.n; ++k) {
      const double ck[3] = {p.xi[k] - x, p.eta[k] - y, -z};
      const double cn[3] = {p.xi[k + 1] - x, p.eta[k + 1] - y, -z};
      omega += TriangleSolidAngle(c0, ck, cn);
    }
  }
  return -(edges - z * omega) / FourPI;
}

}  // namespace tarvenol
