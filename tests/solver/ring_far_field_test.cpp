// The far field of the solve by the body's symmetry against the panel kernel, ring by ring.

#include "solver/ring_far_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/progress.h"
#include "geometry/panel_outline.h"
#include "solver/mode_sums.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

ModeMatrices Matrices(int ni) {
  const auto n = static_cast<std::size_t>(ni);
  return {Array2(n, n), Array2(n, n), Array2(n, n), Array2(n, n), Array2(n, n)};
}

TEST(RingFarFieldTest, EachFarRingStaysWithinItsShareOfTheBound) {
  for (const auto& [ni, nj] : {std::pair{40, 96}, std::pair{64, 64}, std::pair{120, 360}}) {
    const ModelState s = testing::SphereState(ni, nj);
    const std::vector<Column> phi = ColumnAngles(s, nj);
    IgnoredProgress unseen;
    ModeMatrices exact = Matrices(ni), far = Matrices(ni);
    GatherModeSums(s, exact, phi, 0, WidestVectorPath(), unseen);
    GatherModeSums(s, far, phi, kRingFarFieldTolerance, WidestVectorPath(), unseen);
    std::vector<double> ringArea(static_cast<std::size_t>(ni) + 1);
    double area = 0;
    for (int k = 1; k <= ni; ++k) {
      for (int j = 1; j <= nj; ++j) {
        ringArea[static_cast<std::size_t>(k)] += OutlineArea(OutlineOfPanel(s, k, j));
      }
      area += ringArea[static_cast<std::size_t>(k)];
    }
    const RingFarField field(s, phi[1].c, phi[1].s, kRingFarFieldTolerance);
    int farPairs = 0;
    double worstRatio = 0, worst = 0;
    for (int i = 1; i <= ni; ++i) {
      const RingFieldPoint p = field.FieldPointOf(s, i);
      double row = 0;
      for (int k = 1; k <= ni; ++k) {
        const auto r = static_cast<std::size_t>(i), c = static_cast<std::size_t>(k);
        const double e = std::max(
            {std::fabs(exact.N0(r, c) - far.N0(r, c)), std::fabs(exact.N1(r, c) - far.N1(r, c)),
             std::fabs(exact.T0(r, c) - far.T0(r, c)), std::fabs(exact.T1(r, c) - far.T1(r, c)),
             std::fabs(exact.C1(r, c) - far.C1(r, c))});
        if (!field.RuleFor(p, k).Far()) {
          EXPECT_EQ(e, 0);
          continue;
        }
        ++farPairs;
        const double share = kRingFarFieldTolerance * ringArea[c] / area;
        worstRatio = std::max(worstRatio, e / share);
        worst = std::max(worst, e);
        row += e;
      }
      EXPECT_LE(row, kRingFarFieldTolerance);
    }
    std::printf("%d x %d: %d far pairs of %d, largest error %.1e, %.2g of its share\n", ni, nj,
                farPairs, ni * ni, worst, worstRatio);
  }
}

}  // namespace
}  // namespace tarvenol
