#include "solver/source_panel_velocity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tarvenol {
namespace {

struct Corner {
  double xi, eta;
};

// One panel (1, 1) with the given corners, clockwise seen from +Zta.
ModelState OnePanel(const std::vector<Corner>& corners) {
  ModelState s;
  s.PI = std::atan(1.0) * 4;
  s.TwoPI = 2 * s.PI;
  s.FourPI = 4 * s.PI;
  s.NCor = DenseArray<std::int16_t, 2>(1, 1);
  s.Xsi = Array3(1, 1, 4);
  s.Ita = Array3(1, 1, 4);
  s.NCor(1, 1) = static_cast<std::int16_t>(corners.size());
  for (std::size_t k = 0; k < corners.size(); ++k) {
    s.Xsi(1, 1, k + 1) = corners[k].xi;
    s.Ita(1, 1, k + 1) = corners[k].eta;
  }
  return s;
}

const std::vector<Corner> kSquare = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};

struct Case {
  double x, y, z;
  double u, v, w;
};

TEST(SourcePanelVelocity, SquareAtTheKnownFieldPoints) {
  const ModelState s = OnePanel(kSquare);
  const Case cases[] = {
      {0, 0, 0, 0, 0, 0.5},
      {0, 0, 1e-12, 0, 0, 0.5},
      {0.3, 0.2, 0.7, 0.039936, 0.026184, 0.223345},
      {0.3, 0.2, -0.7, 0.039936, 0.026184, -0.223345},
      {0, 1, 0.5, 0, 0.155306, 0.167208},           // above the middle of the first edge
      {1.5, 1, 0.5, 0.082940, 0.051504, 0.039905},  // on the first edge's line, beyond it
      {1, 1, 0.5, 0.098247, 0.098247, 0.097570},    // above corner 2
      {5, 3, -2, 0.006839, 0.004100, -0.002810},    // far away
      {3, 0.5, 0, 0.035747, 0.005806, 0},           // in the plane, beyond one edge
  };
  for (const Case& c : cases) {
    double u = 1, v = 1, w = 1;
    SourcePanelVelocity(s, 1, 1, c.x, c.y, c.z, u, v, w);
    SCOPED_TRACE(::testing::Message() << "at (" << c.x << ", " << c.y << ", " << c.z << ")");
    EXPECT_NEAR(u, c.u, 5e-7);
    EXPECT_NEAR(v, c.v, 5e-7);
    EXPECT_NEAR(w, c.w, 5e-7);
  }
}

TEST(SourcePanelVelocity, SelfInfluenceIsExactlyOneHalf) {
  double u = 1, v = 1, w = 0;
  SourcePanelVelocity(OnePanel(kSquare), 1, 1, 0, 0, 0, u, v, w);
  EXPECT_EQ(w, 0.5);
  // An unsymmetric quadrilateral: the in-plane components need not vanish, w still does not move.
  SourcePanelVelocity(OnePanel({{-1, 2}, {1, 1}, {2, -1}, {-1, -1}}), 1, 1, 0, 0, 0, u, v, w);
  EXPECT_EQ(w, 0.5);
}

// In its own plane, outside its outline, a source sheet has no normal velocity: the value there
// is the limit from either side, not a quarter for each edge the point lies beyond. Panels of one
// meridian of a cylinder lie in one plane, and see each other so.
TEST(SourcePanelVelocity, InThePlaneOutsideTheOutlineTheNormalVelocityIsNought) {
  const ModelState s = OnePanel(kSquare);
  for (const double x : {3.0, 1.5}) {
    for (const double y : {0.5, 3.0}) {
      double u = 0, v = 0, w = 1, above = 1, below = 1;
      SourcePanelVelocity(s, 1, 1, x, y, 0, u, v, w);
      EXPECT_EQ(w, 0) << x << " " << y;
      SourcePanelVelocity(s, 1, 1, x, y, 1e-9, u, v, above);
      SourcePanelVelocity(s, 1, 1, x, y, -1e-9, u, v, below);
      EXPECT_NEAR(above, 0, 1e-9);
      EXPECT_NEAR(below, 0, 1e-9);
    }
  }
}

TEST(SourcePanelVelocity, ThreeCorneredPanelIgnoresItsFourthCorner) {
  ModelState s = OnePanel({{0, 1}, {1, -1}, {-1, -1}});
  s.Xsi(1, 1, 4) = 7;  // a stored fourth corner takes no part
  s.Ita(1, 1, 4) = -3;
  double u = 1, v = 0, w = 0;
  SourcePanelVelocity(s, 1, 1, 0, -1.0 / 3, 0, u, v, w);
  EXPECT_NEAR(u, 0, 5e-7);
  EXPECT_NEAR(v, 0.006973, 5e-7);
  EXPECT_EQ(w, 0.5);
}

TEST(SourcePanelVelocity, FarAwayItActsLikeAPointSource) {
  const double x = 40, y = 30, z = -20;
  const double R = std::sqrt(x * x + y * y + z * z);
  const double strength = 4 / (16 * std::atan(1.0) * R * R * R);  // area / (4 pi R^3)
  double u = 0, v = 0, w = 0;
  SourcePanelVelocity(OnePanel(kSquare), 1, 1, x, y, z, u, v, w);
  EXPECT_NEAR(u, strength * x, 1e-3 * strength * R);
  EXPECT_NEAR(v, strength * y, 1e-3 * strength * R);
  EXPECT_NEAR(w, strength * z, 1e-3 * strength * R);
}

}  // namespace
}  // namespace tarvenol
