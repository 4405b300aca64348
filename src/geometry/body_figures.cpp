#include "geometry/body_figures.h"

#include <algorithm>
#include <cmath>

#include "geometry/panel_outline.h"

namespace tarvenol {
namespace {

struct Point {
  double x, y, z;
};

// Sums over tetrahedra with one vertex at the origin: the volume, its first moments and the
// second moments x^2 and y^2.
struct Moments {
  double V = 0, Vx = 0, Vy = 0, Vz = 0, Vxx = 0, Vyy = 0;

  // Tetrahedron (0, a, b, c), positive when a, b, c run counter-clockwise seen from outside.
  void Add(const Point& a, const Point& b, const Point& c) {
    const double v = (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                      a.z * (b.x * c.y - b.y * c.x)) /
                     6;
    const double sx = a.x + b.x + c.x, sy = a.y + b.y + c.y, sz = a.z + b.z + c.z;
    V += v;
    Vx += v * sx / 4;
    Vy += v * sy / 4;
    Vz += v * sz / 4;
    // The integral of x_i x_j over a tetrahedron is V/20 (sum of x_i x_j over its vertices plus
    // the product of the sums).
    Vxx += v * (a.x * a.x + b.x * b.x + c.x * c.x + sx * sx) / 20;
    Vyy += v * (a.y * a.y + b.y * b.y + c.y * c.y + sy * sy) / 20;
  }
};

}  // namespace

BodyFigures FiguresOfPanels(const ModelState& s) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  // Moments about a point halfway along the body keep their terms small.
  double xMin = s.xC(1, 1), xMax = xMin;
  for (int i = 1; i <= ni; ++i) {
    xMin = std::min(xMin, s.xC(i, 1));
    xMax = std::max(xMax, s.xC(i, 1));
  }
  const double x0 = (xMin + xMax) / 2;
  Moments m;
  BodyFigures f;
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) {
      const int n = s.NCor(i, j);
      Point c[4];
      for (int k = 0; k < n; ++k) {
        c[k] = {s.xCor(i, j, k + 1) - x0, s.yCor(i, j, k + 1), s.zCor(i, j, k + 1)};
      }
      // The corners run clockwise seen from outside: the fan from corner 1 is turned round.
      for (int k = 1; k + 1 < n; ++k) m.Add(c[0], c[k + 1], c[k]);
      f.wettedArea += OutlineArea(OutlineOfPanel(s, i, j));
    }
  }
  f.volume = m.V;
  if (m.V != 0 && std::isfinite(m.V)) {
    f.centreX = x0 + m.Vx / m.V;
    f.centreY = m.Vy / m.V;
    f.centreZ = m.Vz / m.V;
    const double dx = m.Vx / m.V, dy = m.Vy / m.V;
    f.inertiaZ = m.Vxx + m.Vyy - m.V * (dx * dx + dy * dy);
  } else {
    f.centreX = x0;
  }
  return f;
}

}  // namespace tarvenol
