#include "solver/source_panel_potential.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "outline_of.h"
#include "solver/source_panel_velocity.h"

namespace tarvenol {
namespace {

constexpr double kPI = 3.14159265358979323846;

using testing::Corner;
using testing::OutlineOf;

// -1/(4 pi) times the integral of dA / R by quadrature: the polygon as signed triangles from the
// field point's foot, each mapped onto the unit square so that the foot is an edge of it
// (Duffy), which takes away the 1/R singularity of a point in the plane; Gauss-Legendre of 8
// points on each of 24 x 24 cells.
double QuadraturePotential(const PanelOutline& p, double x, double y, double z) {
  const double g[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                       0.9602898564975363};
  const double w[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                       0.1012285362903763};
  std::vector<std::pair<double, double>> rule;  // on [0, 1]
  constexpr int kCells = 24;
  for (int c = 0; c < kCells; ++c) {
    for (int k = 0; k < 8; ++k) {
      const double t = k < 4 ? -g[k] : g[k - 4];
      rule.emplace_back((c + (t + 1) / 2) / kCells, w[k % 4] / 2 / kCells);
    }
  }
  double sum = 0;
  for (int k = 0; k < p.n; ++k) {
    const int k1 = (k + 1) % p.n;
    const double ax = p.xi[k] - x, ay = p.eta[k] - y;
    const double bx = p.xi[k1] - p.xi[k], by = p.eta[k1] - p.eta[k];
    const double cross = ax * by - ay * bx;  // twice the signed area
    for (const auto& [u, wu] : rule) {
      for (const auto& [v, wv] : rule) {
        const double px = u * (ax + v * bx), py = u * (ay + v * by);
        sum += wu * wv * u * cross / std::sqrt(px * px + py * py + z * z);
      }
    }
  }
  // The corners run clockwise: the signed triangles sum to minus the area.
  return sum / (4 * kPI);
}

// The closed form against quadrature, and its gradient against the panel's velocity, at points
// over the panel, off it, in its plane inside and outside, on an edge's line, and far away.
TEST(SourcePanelPotential, ClosedFormAgainstQuadratureAndTheVelocity) {
  const PanelOutline square = OutlineOf({{-1, 1}, {1, 1}, {1, -1}, {-1, -1}});
  const PanelOutline triangle = OutlineOf({{0, 1}, {1, -1}, {-1, -1}});
  const double points[][3] = {{0.3, 0.2, 0.7},  {0.3, 0.2, -0.7}, {0, 0, 0.3},    {0.3, 0.2, 0},
                              {0, -1.0 / 3, 0}, {3, 0.5, 0},      {1.5, 1, 0.5},  {0, 1, 0.5},
                              {1, 1, 0.5},      {5, 3, -2},       {-2, 0.4, 0.05}};
  for (const PanelOutline* panel : {&square, &triangle}) {
    for (const auto& q : points) {
      SCOPED_TRACE(::testing::Message()
                   << panel->n << " corners at (" << q[0] << ", " << q[1] << ", " << q[2] << ")");
      const double phi = OutlinePotential(*panel, 4 * kPI, q[0], q[1], q[2]);
      EXPECT_NEAR(phi, QuadraturePotential(*panel, q[0], q[1], q[2]), 1e-9);
      // Off the outline and its lines, grad phi is the velocity of the kernel.
      if (q[2] == 0 || q[0] == 1.5 || q[1] == 1) continue;
      constexpr double h = 1e-5;
      double u = 0, v = 0, wz = 0;
      OutlineVelocity(*panel, kPI, 2 * kPI, 4 * kPI, q[0], q[1], q[2], u, v, wz);
      const auto at = [&](double dx, double dy, double dz) {
        return OutlinePotential(*panel, 4 * kPI, q[0] + dx, q[1] + dy, q[2] + dz);
      };
      EXPECT_NEAR((at(h, 0, 0) - at(-h, 0, 0)) / (2 * h), u, 1e-8);
      EXPECT_NEAR((at(0, h, 0) - at(0, -h, 0)) / (2 * h), v, 1e-8);
      EXPECT_NEAR((at(0, 0, h) - at(0, 0, -h)) / (2 * h), wz, 1e-8);
    }
  }
}

}  // namespace
}  // namespace tarvenol
