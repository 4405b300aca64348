#include "geometry/hull_families.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/program_error.h"
#include "geometry/body_figures.h"
#include "geometry/panels.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

const MyringHull kHull{1.0, 2.0, 1.5, 0.8, 2.5, 20.0};

std::string Refusal(const MyringHull& h, double ni = 20) {
  try {
    MyringProfile(h, ni);
  } catch (const ProgramError& e) {
    return e.what();
  }
  return "accepted";
}

// The formulas' own properties: both ends on the axis, the nose and the tail meeting the
// midbody at r = d/2 with level tangents (so r - d/2 falls as the square of the distance from a
// join, with the second derivatives of the formulas), the tail closing at the slope -tan theta.
TEST(HullFamilies, MyringsHullMeetsItsMidbodyLevelAndClosesAtItsAngle) {
  const MyringHull& h = kHull;
  const double L = h.a + h.b + h.c, half = h.d / 2;
  EXPECT_EQ(MyringRadius(h, 0), 0);
  EXPECT_NEAR(MyringRadius(h, L), 0, 1e-15);
  for (const double x : {h.a, h.a + 0.5, h.a + h.b / 2, h.a + h.b}) {
    EXPECT_DOUBLE_EQ(MyringRadius(h, x), half) << x;
  }
  const double tanTheta = std::tan(h.thetaDegrees * std::atan(1.0) / 45);
  for (const double step : {1e-3, 1e-4}) {
    // (1 - s^2)^(1/n) = 1 - s^2/n + O(s^4) at the nose's join; the tail's quadratic term.
    EXPECT_NEAR((half - MyringRadius(h, h.a - step)) / (step * step), half / (h.n * h.a * h.a),
                1e-2 * step / h.a + 1e-6);
    EXPECT_NEAR((half - MyringRadius(h, h.a + h.b + step)) / (step * step),
                3 * h.d / (2 * h.c * h.c) - tanTheta / h.c, 2 * step);
    EXPECT_NEAR((MyringRadius(h, L) - MyringRadius(h, L - step)) / step, -tanTheta, 2 * step);
  }
}

// The profile: ni + 1 points on the formulas, x rising, both ends exactly on the axis, spaced
// evenly along the arc (chords of equal arcs differ by their curvature's share, well under 1 %).
TEST(HullFamilies, MyringsProfileLiesOnItsFormulasEvenlyAlongItsArc) {
  const BodyProfile p = MyringProfile(kHull, 100);
  ASSERT_EQ(p.x.size(), 101u);
  EXPECT_EQ(p.x.front(), 0);
  EXPECT_EQ(p.r.front(), 0);
  EXPECT_EQ(p.x.back(), kHull.a + kHull.b + kHull.c);
  EXPECT_EQ(p.r.back(), 0);
  double shortest = 1e300, longest = 0;
  for (std::size_t k = 1; k < p.x.size(); ++k) {
    EXPECT_GT(p.x[k], p.x[k - 1]) << k;
    if (k + 1 < p.x.size()) {
      EXPECT_EQ(p.r[k], MyringRadius(kHull, p.x[k])) << k;
    }
    const double chord = std::hypot(p.x[k] - p.x[k - 1], p.r[k] - p.r[k - 1]);
    shortest = std::min(shortest, chord);
    longest = std::max(longest, chord);
  }
  EXPECT_LT(longest / shortest, 1.01);
}

TEST(HullFamilies, TheSpheroidOfHalfAndHalfIsTheSphereToTheBit) {
  ModelState s = testing::StartedState();
  s.NI = 16;
  s.NI1 = 17;
  BodyWork w;
  SphereProfile(s, w);
  const BodyProfile p = SpheroidProfile({0.5, 0.5}, 16);
  ASSERT_EQ(p.x.size(), 17u);
  for (std::size_t k = 0; k < p.x.size(); ++k) {
    EXPECT_EQ(p.x[k], w.xI(k + 1)) << k;
    EXPECT_EQ(p.r[k], w.rI(k + 1)) << k;
  }
}

// The panels are a polyhedron inscribed in the spheroid, whose volume falls short of
// 4/3 pi a b^2 by a share that goes as the square of the panels' angles: below it, and a
// quarter as far below at twice the panels each way (within 5 %).
TEST(HullFamilies, TheSpheroidsPanelsApproachItsVolumeAsTheSquareOfTheirSize) {
  const SpheroidHull h{2.0, 0.5};
  const double exact = 4.0 / 3 * std::atan(1.0) * 4 * h.a * h.b * h.b;
  double shortfall[2] = {};
  for (const int n : {32, 64}) {
    const BodyProfile p = SpheroidProfile(h, n);
    ModelState s = testing::StartedState();
    s.NJ = n;
    s.NJ1 = n + 1;
    BodyWork w;
    BuildGivenProfile(s, w, p.x, p.r, "spheroid");
    BuildPanels(s);
    shortfall[n / 64] = 1 - FiguresOfPanels(s).volume / exact;
  }
  EXPECT_GT(shortfall[1], 0);
  EXPECT_LT(shortfall[1], 0.01);
  EXPECT_NEAR(shortfall[0] / shortfall[1], 4, 0.2);
}

TEST(HullFamilies, ParametersThatMakeNoHullAreRefusedByName) {
  MyringHull h = kHull;
  h.a = 0;
  EXPECT_EQ(Refusal(h), "The nose length a must be a number above 0; 0 is not.");
  h = kHull;
  h.b = -1;
  EXPECT_EQ(Refusal(h), "The midbody length b must be a number from 0 up; -1 is not.");
  h = kHull;
  h.d = std::nan("");
  EXPECT_EQ(Refusal(h), "The diameter d must be a number above 0; nan is not.");
  h = kHull;
  h.n = -2;
  EXPECT_EQ(Refusal(h), "The nose exponent n must be a number above 0; -2 is not.");
  h = kHull;
  h.thetaDegrees = 40;  // atan(1.5 * 0.8 / 1.5) = 38.66 degrees
  EXPECT_NE(Refusal(h).find("The tail angle theta must be a number of degrees from 0 to 38.6598 ("),
            std::string::npos)
      << Refusal(h);
  h.thetaDegrees = -1;
  EXPECT_NE(Refusal(h).find("; -1 is not."), std::string::npos);
  EXPECT_EQ(Refusal(kHull, 1.5), "NI must be a whole number from 2 to 1000000; 1.5 is not.");
  EXPECT_THROW(SpheroidProfile({1, 0}, 10), ProgramError);
  EXPECT_THROW(SpheroidProfile({INFINITY, 1}, 10), ProgramError);
}

}  // namespace
}  // namespace tarvenol
