// The panels' velocity at points around the body, against a numerical quadrature of the panel,
// and its vector paths against the formula for one panel.

#include "solver/field_velocity.h"

#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss.hpp>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "outline_of.h"
#include "solver/source_panel_velocity.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

using testing::Corner;
using testing::OutlineOf;

// (1 / 4 pi) times the integral of (P - Q) / |P - Q|^3 over the panel: its fan of triangles,
// each cut into 4^5 smaller ones with a Gauss rule of 10 x 10 points on each (collapsed onto the
// triangle). At the distances tried, 0.3 and more, the integrand is smooth: good to 1e-10.
std::array<double, 3> Quadrature(const PanelOutline& p, double x, double y, double z) {
  using Gauss = boost::math::quadrature::gauss<double, 10>;
  std::vector<std::pair<double, double>> rule;  // on [0, 1]
  for (std::size_t k = 0; k < Gauss::abscissa().size(); ++k) {
    for (const double sign : {-1.0, 1.0}) {
      rule.emplace_back((1 + sign * Gauss::abscissa()[k]) / 2, Gauss::weights()[k] / 2);
    }
  }
  std::array<double, 3> V{};
  using Vertex = std::array<double, 2>;
  std::function<void(Vertex, Vertex, Vertex, int)> triangle = [&](Vertex a, Vertex b, Vertex c,
                                                                  int depth) {
    if (depth > 0) {
      const Vertex ab{(a[0] + b[0]) / 2, (a[1] + b[1]) / 2};
      const Vertex bc{(b[0] + c[0]) / 2, (b[1] + c[1]) / 2};
      const Vertex ca{(c[0] + a[0]) / 2, (c[1] + a[1]) / 2};
      for (const auto& [u, v, w] :
           {std::array<Vertex, 3>{a, ab, ca}, {ab, b, bc}, {ca, bc, c}, {ab, bc, ca}}) {
        triangle(u, v, w, depth - 1);
      }
      return;
    }
    const double twiceArea =
        std::fabs((b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0]));
    for (const auto& [s, ws] : rule) {
      for (const auto& [t, wt] : rule) {
        // Q = a + s (b - a) + s t (c - b), dA = s |(b - a) x (c - b)| ds dt
        const double qa = a[0] + s * (b[0] - a[0]) + s * t * (c[0] - b[0]);
        const double qb = a[1] + s * (b[1] - a[1]) + s * t * (c[1] - b[1]);
        const double r = std::sqrt((x - qa) * (x - qa) + (y - qb) * (y - qb) + z * z);
        const double f = ws * wt * s * twiceArea / (4 * std::numbers::pi * r * r * r);
        V[0] += f * (x - qa);
        V[1] += f * (y - qb);
        V[2] += f * z;
      }
    }
  };
  for (int k = 1; k + 1 < p.n; ++k) {
    triangle({p.xi[0], p.eta[0]}, {p.xi[k], p.eta[k]}, {p.xi[k + 1], p.eta[k + 1]}, 5);
  }
  return V;
}

struct Point {
  double x, y, z;
};

void ExpectQuadrature(const PanelOutline& p, const std::vector<Point>& points, double tolerance) {
  for (const Point& q : points) {
    double u = 1, v = 1, w = 1;
    FieldOutlineVelocity(p, q.x, q.y, q.z, u, v, w);
    const std::array<double, 3> V = Quadrature(p, q.x, q.y, q.z);
    SCOPED_TRACE(::testing::Message() << "at (" << q.x << ", " << q.y << ", " << q.z << ")");
    EXPECT_NEAR(u, V[0], tolerance);
    EXPECT_NEAR(v, V[1], tolerance);
    EXPECT_NEAR(w, V[2], tolerance);
  }
}

// The square of the coefficients' tests, whose corners lie on the grid of the quadrature.
const std::vector<Corner> kSquare = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};

TEST(FieldOutlineVelocity, AgreesWithQuadratureWhereverTheFootLies) {
  ExpectQuadrature(OutlineOf(kSquare),
                   {{0.3, 0.2, 0.7},
                    {0.3, 0.2, -0.7},
                    {0, 1, 0.5},      // above the middle of an edge
                    {1, 1, 0.5},      // above a corner
                    {1.5, 1, 0.5},    // on the first edge's line, beyond its end
                    {-1.7, 1, -0.4},  // the same before its start, below the panel
                    {3, -1, 0.3},     // on the third edge's line
                    {1, 2.5, 0.3},    // on the second edge's line
                    {5, 3, -2}},
                   2e-9);
}

TEST(FieldOutlineVelocity, TheCoefficientsTakeItsAngleOnTheEdgesLines) {
  // On the line of an edge beyond the panel, and within rounding of it, the coefficients' angle
  // sum would rest on signs that rounding decides (a == 0 gave -0.210 at (1.5, 1, 0.5) where the
  // panel, seen from a little above its plane and beside it, gives a small positive one): the
  // coefficients take the solid angle there, to the bit.
  const PanelOutline square = OutlineOf(kSquare);
  for (const Point& q : std::vector<Point>{{1.5, 1, 0.5},
                                           {3, -1, 0.3},
                                           {1, 2.5, -0.3},
                                           {-1.7, 1 + 1e-17, 0.4},
                                           {3, 1 - 1e-12, 1e-15},
                                           {3, 1, 1e-300}}) {
    SCOPED_TRACE(::testing::Message() << "at (" << q.x << ", " << q.y << ", " << q.z << ")");
    double u, v, wCoefficients, wField;
    OutlineVelocity(square, std::numbers::pi, 2 * std::numbers::pi, 4 * std::numbers::pi, q.x, q.y,
                    q.z, u, v, wCoefficients);
    FieldOutlineVelocity(square, q.x, q.y, q.z, u, v, wField);
    EXPECT_EQ(wCoefficients, wField);
    EXPECT_NEAR(wField, Quadrature(square, q.x, q.y, q.z)[2], 1e-9);
  }
  double u, v, wField;
  // In the panel's plane beside it a sheet of sources has no normal velocity.
  FieldOutlineVelocity(square, 3, 0.5, 0, u, v, wField);
  EXPECT_EQ(wField, 0);
}

TEST(FieldOutlineVelocity, TriangleAndUnevenQuadrilateral) {
  ExpectQuadrature(OutlineOf({{0, 1}, {1, -1}, {-1, -1}}),
                   {{0, -1.0 / 3, 0.4}, {0.5, 0, 0.3}, {1.5, -2, 0.6}, {-2, -1, -0.5}}, 2e-9);
  ExpectQuadrature(OutlineOf({{-1, 2}, {1, 1}, {2, -1}, {-1, -1}}),
                   {{0.2, 0.1, 0.5}, {3, 0, -0.4}, {-1, 3, 0.3}}, 2e-9);
}

// Every vector path adds the same bits as the others, and the panels' formula one at a time.
TEST(FieldKernel, EveryPathGivesThePanelsSumToTheSameBits) {
  const ModelState s = testing::SphereState(7, 9);  // rows of three and four corners
  const int count = 7 * 9;
  std::vector<int> order;
  for (int m = count; m >= 1; --m) order.push_back(m);
  const FieldPanels panels = FieldPanelsOf(s, order);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> strength(-2, 2);
  std::vector<double> sigma[2];
  for (auto& set : sigma) {
    for (int k = 0; k < count; ++k) set.push_back(strength(random));
  }
  const double* sets[2] = {sigma[0].data(), sigma[1].data()};
  for (const auto& p : std::vector<std::array<double, 3>>{
           {0.5, 0.8, 0}, {-0.3, 0.1, 0.2}, {1.2, -0.4, 0.3}, {0.5, 0, 0.51}}) {
    double expected[2][3] = {};
    for (std::size_t at = 0; at < order.size(); ++at) {
      const int i = (order[at] - 1) / 9 + 1, j = (order[at] - 1) % 9 + 1;
      const double dx = p[0] - s.xC(i, j), dy = p[1] - s.yC(i, j), dz = p[2] - s.zC(i, j);
      double u, v, w;
      FieldOutlineVelocity(OutlineOfPanel(s, i, j),
                           s.XsiX(i, j) * dx + s.XsiY(i, j) * dy + s.XsiZ(i, j) * dz,
                           s.ItaX(i, j) * dx + s.ItaY(i, j) * dy + s.ItaZ(i, j) * dz,
                           s.ZtaX(i, j) * dx + s.ZtaY(i, j) * dy + s.ZtaZ(i, j) * dz, u, v, w);
      const double V[3] = {s.XsiX(i, j) * u + s.ItaX(i, j) * v + s.ZtaX(i, j) * w,
                           s.XsiY(i, j) * u + s.ItaY(i, j) * v + s.ZtaY(i, j) * w,
                           s.XsiZ(i, j) * u + s.ItaZ(i, j) * v + s.ZtaZ(i, j) * w};
      for (int f = 0; f < 2; ++f) {
        for (int c = 0; c < 3; ++c) expected[f][c] += sigma[f][at] * V[c];
      }
    }
    double first[2][3] = {};
    FieldKernelFor(VectorPath::Plain)(panels, 0, count, sets, 2, p.data(), first);
    for (const VectorPath path : VectorPathsOfThisCpu()) {
      double V[2][3] = {};
      FieldKernelFor(path)(panels, 0, count, sets, 2, p.data(), V);
      for (int f = 0; f < 2; ++f) {
        for (int c = 0; c < 3; ++c) {
          EXPECT_EQ(V[f][c], first[f][c]);
          EXPECT_NEAR(V[f][c], expected[f][c], 1e-13);
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvenol
