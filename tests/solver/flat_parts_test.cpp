// Bodies with flat parts: a flat base, a cone, a cylinder. Their panels lie in one plane, or put
// control points on the lines of other panels' edges, where the normal velocity's angle sum is
// ill-conditioned and the coefficients take the solid angle. Every panel of a ring is the same
// panel turned about the axis, so its 1 - Cp is the same to rounding at every NJ, and both solves
// agree. 1e-10 bounds both: rounding in systems of a few hundred equations of diagonal 0.5 stays
// near 1e-14, while the angle sum's fault moved 1 - Cp by 0.05 to 1.4.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "geometry/body_figures.h"
#include "geometry/body_of_revolution.h"
#include "geometry/panels.h"
#include "solver/hess_solve.h"
#include "solver/onset_flow.h"
#include "solver/symmetric_solve.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

constexpr double kAgreement = 1e-10;

using Profile = std::vector<std::pair<double, double>>;  // (x, r), nose first

// A nose of quarter circle (round) or straight line (cone) to radius 0.5 at x = 0.5, a cylinder
// to x = 2, and a flat base of two panels.
Profile NoseCylinderBase(bool round) {
  Profile p;
  for (int k = 0; k <= 6; ++k) {
    const double t = std::numbers::pi / 2 * k / 6;
    p.emplace_back(round ? 0.5 - 0.5 * std::cos(t) : 0.5 * k / 6,
                   round ? 0.5 * std::sin(t) : 0.5 * k / 6);
  }
  for (int k = 1; k <= 5; ++k) p.emplace_back(0.5 + 1.5 * k / 5, 0.5);
  p.emplace_back(2, 0.25);
  p.emplace_back(2, 0);
  return p;
}

// A cylinder with both ends flat.
Profile FlatEndedCylinder() {
  return {{0, 0}, {0, 0.2}, {0, 0.4}, {0.3, 0.4}, {0.6, 0.4}, {0.9, 0.4}, {0.9, 0.2}, {0.9, 0}};
}

ModelState Revolved(const Profile& profile, int nj) {
  ModelState s = testing::StartedState();
  BodyWork w;
  w.kind = BodyKind::GivenBody;
  const auto n = static_cast<double>(profile.size());
  s.NI1 = n;
  s.NI = n - 1;
  s.NJ = nj;
  s.NJ1 = nj + 1;
  w.xI = Array1(profile.size());
  w.rI = Array1(profile.size());
  for (std::size_t k = 1; k <= profile.size(); ++k) {
    w.xI(k) = profile[k - 1].first;
    w.rI(k) = profile[k - 1].second;
  }
  RevolveProfile(s, w);
  BuildPanels(s);
  return s;
}

TEST(FlatParts, EveryRingIsTheSameAndBothSolvesAgreeAtEveryNJ) {
  const std::pair<const char*, Profile> bodies[] = {{"hemisphere-cylinder", NoseCylinderBase(true)},
                                                    {"cone-cylinder", NoseCylinderBase(false)},
                                                    {"flat-ended cylinder", FlatEndedCylinder()}};
  IgnoredProgress unseen;
  for (const auto& [name, profile] : bodies) {
    for (int nj = 3; nj <= 12; ++nj) {
      SCOPED_TRACE(::testing::Message() << name << ", NJ = " << nj);
      const ModelState s = Revolved(profile, nj);
      const auto onsets = IncidenceOnsetFlows(FiguresOfPanels(s).centreX);
      SolverWork work;
      const HessSolution full = HessSolve(s, work, onsets, unseen, {});
      const HessSolution symmetric = SymmetricSolve(s, onsets, unseen);
      ASSERT_EQ(full.zeroPivotRow, 0);
      ASSERT_EQ(full.nonFinitePanel, 0);
      double ring = 0, solves = 0;
      for (int i = 1; i <= LoopEnd(s.NI); ++i) {
        for (int j = 1; j <= nj; ++j) {
          ring = std::max(ring, std::fabs(full.OneMinusCp(i, j) - full.OneMinusCp(i, 1)));
          for (std::size_t f = 0; f < onsets.size(); ++f) {
            solves = std::max(
                {solves, std::fabs(full.flows[f].Sigma(i, j) - symmetric.flows[f].Sigma(i, j)),
                 std::fabs(full.flows[f].Ut(i, j) - symmetric.flows[f].Ut(i, j)),
                 std::fabs(full.flows[f].Vt(i, j) - symmetric.flows[f].Vt(i, j))});
          }
        }
      }
      EXPECT_LE(ring, kAgreement);
      EXPECT_LE(solves, kAgreement);
    }
  }
}

}  // namespace
}  // namespace tarvenol
