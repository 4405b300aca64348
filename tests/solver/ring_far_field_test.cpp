// The far field of the solve by the body's symmetry against the panel kernel, ring by ring.

#include "solver/ring_far_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/progress.h"
#include "geometry/hull_families.h"
#include "geometry/panel_outline.h"
#include "profile_state.h"
#include "solver/mode_sums.h"
#include "solver/source_panel_potential.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

// The five mode sums and the potential's.
ModeMatrices Matrices(int ni) {
  const auto n = static_cast<std::size_t>(ni);
  return {Array2(n, n), Array2(n, n), Array2(n, n), Array2(n, n), Array2(n, n), Array2(n, n)};
}

// The spheres of the far field's first tests, and a slender hull at the few panels around of
// a sweep, where the copies sum the rings.
std::vector<ModelState> Bodies() {
  const MyringHull hull{0.3, 0.8, 0.5, 0.2, 2, 20};
  return {testing::SphereState(40, 96), testing::SphereState(64, 64),
          testing::SphereState(120, 360), testing::ProfileState(MyringProfile(hull, 100), 8),
          testing::ProfileState(MyringProfile(hull, 100), 16)};
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
// tolerance at the solve's; the potential's within its share of RingPotentialTolerance. The
// kernel's sums round to a few 1e-15 and are allowed that.
TEST(RingFarFieldTest, EachFarRingStaysWithinItsShareOfTheBound) {
  constexpr double kRounding = 1e-14;
  for (const ModelState& s : Bodies()) {
    const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
    const std::vector<Column> phi = ColumnAngles(s, nj);
    const std::vector<double> share = AreaShares(s, ni, nj);
    IgnoredProgress unseen;
    ModeMatrices exact = Matrices(ni);
    GatherModeSums(s, exact, phi, 0, WidestVectorPath(), unseen);
    for (const double tolerance : {1e-3, kRingFarFieldTolerance}) {
      ModeMatrices far = Matrices(ni);
      GatherModeSums(s, far, phi, tolerance, WidestVectorPath(), unseen);
      const RingFarField field(s, phi[1].c, phi[1].s, tolerance);
      const double potentialTolerance = RingPotentialTolerance(s, tolerance);
      int farPairs = 0;
      double worstShare = 0, worstRow = 0, worstPotential = 0;
      for (int i = 1; i <= ni; ++i) {
        const RingFieldPoint p = field.FieldPointOf(s, i);
        double row = 0, potentialRow = 0;
        for (int k = 1; k <= ni; ++k) {
          const auto r = static_cast<std::size_t>(i), c = static_cast<std::size_t>(k);
          const double e = std::max(
              {std::fabs(exact.N0(r, c) - far.N0(r, c)), std::fabs(exact.N1(r, c) - far.N1(r, c)),
               std::fabs(exact.T0(r, c) - far.T0(r, c)), std::fabs(exact.T1(r, c) - far.T1(r, c)),
               std::fabs(exact.C1(r, c) - far.C1(r, c))});
          const double ep = std::fabs(exact.P1(r, c) - far.P1(r, c));
          if (!field.RuleFor(p, k).Far()) {
            EXPECT_EQ(std::max(e, ep), 0);
            continue;
          }
          ++farPairs;
          EXPECT_LE(e, tolerance * share[c] + kRounding) << "rings " << i << " and " << k;
          EXPECT_LE(ep, potentialTolerance * share[c] + kRounding) << "rings " << i << ", " << k;
          worstShare = std::max(worstShare, e / (tolerance * share[c]));
          row += e;
          potentialRow += ep;
        }
        worstRow = std::max(worstRow, row);
        worstPotential = std::max(worstPotential, potentialRow);
      }
      EXPECT_LE(worstRow, tolerance);
      EXPECT_LE(worstPotential, potentialTolerance);
      std::printf(
          "%d x %d, tolerance %.0e: %d far pairs of %d, %.2g of a share, %.2g of a row, the "
          "potential's %.2g\n",
          ni, nj, tolerance, farPairs, ni * ni, worstShare, worstRow / tolerance,
          worstPotential / potentialTolerance);
    }
  }
}

// The sums on every vector path are the same bits, so that the report is the same bytes on
// every machine; the mode sums the same with the potential's beside them or not, and the
// potential's the same beside them or alone (the added masses of the batch tool's solution and
// of the module's).
TEST(RingFarFieldTest, EveryVectorPathGivesTheSameBits) {
  for (const auto& [ni, nj] : {std::pair{60, 120}, std::pair{60, 16}}) {
    const ModelState s = testing::SphereState(ni, nj);
    const std::vector<Column> phi = ColumnAngles(s, nj);
    IgnoredProgress unseen;
    ModeMatrices first = Matrices(ni);  // the mode sums alone, on the plain path
    first.P1 = Array2();
    GatherModeSums(s, first, phi, kRingFarFieldTolerance, VectorPath::Plain, unseen);
    for (const VectorPath path : VectorPathsOfThisCpu()) {
      ModeMatrices M = Matrices(ni), alone;
      alone.P1 = Array2(static_cast<std::size_t>(ni), static_cast<std::size_t>(ni));
      GatherModeSums(s, M, phi, kRingFarFieldTolerance, path, unseen);
      GatherModeSums(s, alone, phi, kRingFarFieldTolerance, path, unseen);
      for (const auto& [a, b] : {std::pair(&first.N0, &M.N0), std::pair(&first.N1, &M.N1),
                                 std::pair(&first.T0, &M.T0), std::pair(&first.T1, &M.T1),
                                 std::pair(&first.C1, &M.C1), std::pair(&alone.P1, &M.P1)}) {
        EXPECT_EQ(std::memcmp(a->Row(0), b->Row(0), a->Size() * sizeof(double)), 0)
            << ni << " x " << nj << ", vector path " << static_cast<int>(path);
      }
    }
  }
}

// The row kernel's potential of a near ring is OutlinePotential's, within rounding: from the
// same edge logarithms, with the solid angle of the velocity's normal part.
TEST(RingFarFieldTest, TheKernelsPotentialIsThePanelsOwn) {
  const ModelState s = testing::ProfileState(MyringProfile({0.3, 0.8, 0.5, 0.2, 2, 20}, 24), 8);
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  ModeMatrices M;
  M.P1 = Array2(static_cast<std::size_t>(ni), static_cast<std::size_t>(ni));
  IgnoredProgress unseen;
  GatherModeSums(s, M, ColumnAngles(s, nj), 0, WidestVectorPath(), unseen);
  for (int i = 1; i <= ni; ++i) {
    for (int k = 1; k <= ni; ++k) {
      double sum = 0;
      for (int d = 0; d < nj; ++d) {
        const PanelOutline outline = OutlineOfPanel(s, k, 1 + d);
        const double dx = s.xC(i, 1) - s.xC(k, 1 + d), dy = s.yC(i, 1) - s.yC(k, 1 + d);
        const double dz = s.zC(i, 1) - s.zC(k, 1 + d);
        sum +=
            std::cos(s.TwoPI * d / nj) *
            OutlinePotential(outline, s.FourPI,
                             s.XsiX(k, 1 + d) * dx + s.XsiY(k, 1 + d) * dy + s.XsiZ(k, 1 + d) * dz,
                             s.ItaX(k, 1 + d) * dx + s.ItaY(k, 1 + d) * dy + s.ItaZ(k, 1 + d) * dz,
                             s.ZtaX(k, 1 + d) * dx + s.ZtaY(k, 1 + d) * dy + s.ZtaZ(k, 1 + d) * dz);
      }
      EXPECT_NEAR(M.P1(static_cast<std::size_t>(i), static_cast<std::size_t>(k)), sum, 1e-15)
          << "rings " << i << " and " << k;
    }
  }
}

}  // namespace
}  // namespace tarvenol
