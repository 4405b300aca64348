// The far field of the solve by the body's symmetry against the panel kernel, ring by ring.

#include "solver/ring_far_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

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

// The share of a ring of the body's area, as the bound spreads the tolerance.
std::vector<double> AreaShares(const ModelState& s, int ni, int nj) {
  std::vector<double> share(static_cast<std::size_t>(ni) + 1);
  double area = 0;
  for (int k = 1; k <= ni; ++k) {
    for (int j = 1; j <= nj; ++j) {
      share[static_cast<std::size_t>(k)] += OutlineArea(OutlineOfPanel(s, k, j));
    }
    area += share[static_cast<std::size_t>(k)];
  }
  for (double& a : share) a /= area;
  return share;
}

// Each far ring's five sums against the kernel's: within the ring's share of the tolerance,
// where the far field's own error shows (a loose tolerance), and a row's far rings within the
// tolerance at the solve's. The kernel's sums round to a few 1e-15 and are allowed that.
TEST(RingFarFieldTest, EachFarRingStaysWithinItsShareOfTheBound) {
  constexpr double kRounding = 1e-14;
  for (const auto& [ni, nj] : {std::pair{40, 96}, std::pair{64, 64}, std::pair{120, 360}}) {
    const ModelState s = testing::SphereState(ni, nj);
    const std::vector<Column> phi = ColumnAngles(s, nj);
    const std::vector<double> share = AreaShares(s, ni, nj);
    IgnoredProgress unseen;
    ModeMatrices exact = Matrices(ni);
    GatherModeSums(s, exact, phi, 0, WidestVectorPath(), unseen);
    for (const double tolerance : {1e-3, kRingFarFieldTolerance}) {
      ModeMatrices far = Matrices(ni);
      GatherModeSums(s, far, phi, tolerance, WidestVectorPath(), unseen);
      const RingFarField field(s, phi[1].c, phi[1].s, tolerance);
      int farPairs = 0;
      double worstShare = 0, worstRow = 0;
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
          EXPECT_LE(e, tolerance * share[c] + kRounding) << "rings " << i << " and " << k;
          worstShare = std::max(worstShare, e / (tolerance * share[c]));
          row += e;
        }
        worstRow = std::max(worstRow, row);
      }
      EXPECT_LE(worstRow, tolerance);
      std::printf("%d x %d, tolerance %.0e: %d far pairs of %d, %.2g of a share, %.2g of a row\n",
                  ni, nj, tolerance, farPairs, ni * ni, worstShare, worstRow / tolerance);
    }
  }
}

// The sums on every vector path are the same bits, so that the report is the same bytes on
// every machine.
TEST(RingFarFieldTest, EveryVectorPathGivesTheSameBits) {
  const int ni = 60, nj = 120;
  const ModelState s = testing::SphereState(ni, nj);
  const std::vector<Column> phi = ColumnAngles(s, nj);
  IgnoredProgress unseen;
  ModeMatrices first = Matrices(ni);
  GatherModeSums(s, first, phi, kRingFarFieldTolerance, VectorPath::Plain, unseen);
  for (const VectorPath path : VectorPathsOfThisCpu()) {
    ModeMatrices M = Matrices(ni);
    GatherModeSums(s, M, phi, kRingFarFieldTolerance, path, unseen);
    for (const auto& [a, b] :
         {std::pair(&first.N0, &M.N0), std::pair(&first.N1, &M.N1), std::pair(&first.T0, &M.T0),
          std::pair(&first.T1, &M.T1), std::pair(&first.C1, &M.C1)}) {
      EXPECT_EQ(std::memcmp(a->Row(0), b->Row(0), a->Size() * sizeof(double)), 0)
          << "vector path " << static_cast<int>(path);
    }
  }
}

}  // namespace
}  // namespace tarvenol
