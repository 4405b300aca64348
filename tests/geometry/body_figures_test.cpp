#include "geometry/body_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/panels.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

// The panels of a profile revolved at nj meridians, as the body of revolution lays them out.
ModelState PanelsOfProfile(const std::vector<double>& x, const std::vector<double>& r, int nj) {
  ModelState s = testing::StartedState();
  const int n = static_cast<int>(x.size());
  s.NI = n - 1;
  s.NI1 = n;
  s.NJ = nj;
  s.NJ1 = nj + 1;
  s.xB = s.yB = s.zB = Array2(static_cast<std::size_t>(n), static_cast<std::size_t>(nj + 1));
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= nj + 1; ++j) {
      const double phi = s.TwoPI / nj * (j - 1) - s.PI / 2;
      s.xB(i, j) = x[static_cast<std::size_t>(i - 1)];
      s.yB(i, j) = std::cos(phi) * r[static_cast<std::size_t>(i - 1)];
      s.zB(i, j) = std::sin(phi) * r[static_cast<std::size_t>(i - 1)];
    }
  }
  BuildPanels(s);
  return s;
}

// Solids whose figures are known exactly: the panels bound them without error, so the figures
// must be exact to rounding, whatever triangles and quadrilaterals make them up.
TEST(BodyFigures, ExactForSolidsThePanelsBoundExactly) {
  // The sphere at NI = 2, NJ = 4 is the regular octahedron of "radius" r = 1/2 about
  // (1/2, 0, 0): V = 4 r^3 / 3, I = V r^2 / 5 about any axis through its centre, area 8 faces
  // of sqrt(3)/4 (r sqrt 2)^2.
  const BodyFigures octahedron = FiguresOfPanels(testing::SphereState(2, 4));
  EXPECT_NEAR(octahedron.volume, 1.0 / 6, 1e-15);
  EXPECT_NEAR(octahedron.centreX, 0.5, 1e-15);
  EXPECT_NEAR(octahedron.inertiaZ, 1.0 / 120, 1e-15);
  EXPECT_NEAR(octahedron.wettedArea, std::sqrt(3.0), 1e-15);

  // A prism of length 2 on the square |y| + |z| <= 1 (area 2), closed by flat ends:
  // V = 4, I = area L^3 / 12 + L * (the square's second moment, 1/3) = 4/3 + 2/3.
  const BodyFigures prism = FiguresOfPanels(PanelsOfProfile({3, 3, 5, 5}, {0, 1, 1, 0}, 4));
  EXPECT_NEAR(prism.volume, 4, 1e-14);
  EXPECT_NEAR(prism.centreX, 4, 1e-14);
  EXPECT_NEAR(prism.centreY, 0, 1e-14);
  EXPECT_NEAR(prism.inertiaZ, 2, 1e-14);
  EXPECT_NEAR(prism.wettedArea, 4 + 8 * std::sqrt(2.0), 1e-14);
}

TEST(BodyFigures, PanelsFacingInwardGiveANegativeVolume) {
  // The same prism listed from tail to nose.
  const BodyFigures inward = FiguresOfPanels(PanelsOfProfile({5, 5, 3, 3}, {0, 1, 1, 0}, 4));
  EXPECT_NEAR(inward.volume, -4, 1e-14);
  EXPECT_NEAR(inward.centreX, 4, 1e-14);
}

}  // namespace
}  // namespace tarvenol
