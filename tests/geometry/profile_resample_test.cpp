// Resampled profiles solved by the panel method against the closed form and a finer solve, and
// what resampling keeps and refuses.

#include "geometry/profile_resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/program_error.h"
#include "profile_state.h"
#include "results/exact_pressure.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::AxialSolution;
using testing::ProfileState;

constexpr int kNJ = 32;

// The largest |1 - Cp - closed form| over the panels of a profile's solution.
double WorstAgainst(const Spheroid& exact, const BodyProfile& p) {
  const ModelState s = ProfileState(p, kNJ);
  const HessSolution solution = AxialSolution(s);
  double worst = 0;
  for (int i = 1; i <= LoopEnd(s.NI); ++i) {
    const double e = ExactOneMinusCpAtIncidence(exact, 1, 0, s.xC(i, 1), s.yC(i, 1), s.zC(i, 1));
    worst = std::max(worst, std::fabs(solution.OneMinusCp(i, 1) - e));
  }
  return worst;
}

// The largest ratio of neighbouring panels' lengths.
double WorstRatio(const BodyProfile& p) {
  double worst = 1;
  for (std::size_t k = 1; k + 1 < p.x.size(); ++k) {
    const double a = std::hypot(p.x[k] - p.x[k - 1], p.r[k] - p.r[k - 1]);
    const double b = std::hypot(p.x[k + 1] - p.x[k], p.r[k + 1] - p.r[k]);
    worst = std::max({worst, a / b, b / a});
  }
  return worst;
}

// The panel method's own error at 200 x 32 panels is that of the same panels with their points
// on the exact curve: 0.029 on the sphere (the 32 panels around it), 0.0023 on the example 4:1
// spheroid. Resampling adds the spline's error, which follows the given points' spacing: a wall
// wave of amplitude a and length l changes the speed by about 2 pi a / l, and makima through the
// spheroid's 41 points (4.5 degrees apart in its angle) leaves waves of 3e-5 of its length near
// the nose, worth up to 0.005 in 1 - Cp. Through the 101 points of the program's sphere they are
// 30 times smaller.
TEST(ProfileResample, SphereAndSpheroidWithinThePanelMethodsErrorOfTheClosedForm) {
  const BodyProfile sphere = ResampleProfile(testing::SphereProfileOf(100), 200).profile;
  EXPECT_LT(WorstRatio(sphere), 1.01);  // a circle turns evenly: even panels
  const double sphereMethod =
      WorstAgainst(SpheroidOf(0.5, 0.5, 0.5), testing::SphereProfileOf(200));
  EXPECT_LT(WorstAgainst(SpheroidOf(0.5, 0.5, 0.5), sphere), 1.15 * sphereMethod);

  const BodyProfile file = ReadBodyProfile(testing::ExamplesDir() + "/spheroid.body", 1e6);
  const ResampledProfile spheroid = ResampleProfile(file, 200);
  EXPECT_TRUE(spheroid.warnings.empty());
  ASSERT_EQ(spheroid.profile.x.size(), 201u);
  BodyProfile onCurve = spheroid.profile;  // the same points moved onto the ellipse
  for (std::size_t k = 0; k < onCurve.x.size(); ++k) {
    const double angle = std::atan2(onCurve.r[k] / 0.125, onCurve.x[k] / 0.5 - 1);
    onCurve.x[k] = 0.5 + 0.5 * std::cos(angle);
    onCurve.r[k] = 0.125 * std::sin(angle);
  }
  const Spheroid exact = SpheroidOf(0.5, 0.5, 0.125);
  const double resampled = WorstAgainst(exact, spheroid.profile);
  EXPECT_LT(resampled, WorstAgainst(exact, onCurve) + 0.005);
  EXPECT_LT(resampled, 0.5 * WorstAgainst(exact, file));  // the file's own 40 panels
}

// SUBOFF at 200 panels along against 800, both 32 around, compared at the same arc length: the
// difference, 0.0185 at most (in the tail cap), lies within the panel method's error at 200 x
// 32 panels seen on the sphere above.
TEST(ProfileResample, SuboffWithinThePanelMethodsErrorOfAFourTimesFinerSolve) {
  const BodyProfile file = ReadBodyProfile(testing::ExamplesDir() + "/suboff.body", 1e6);
  auto ring = [&](int ni, std::vector<double>& s, std::vector<double>& value) {
    const ResampledProfile r = ResampleProfile(file, ni);
    EXPECT_TRUE(r.corners.empty());
    EXPECT_LT(WorstRatio(r.profile), 1.5);  // the profile check warns at 10
    const HessSolution solution = AxialSolution(ProfileState(r.profile, kNJ));
    double along = 0;
    for (int i = 1; i <= ni; ++i) {
      const auto k = static_cast<std::size_t>(i);
      const double edge =
          std::hypot(r.profile.x[k] - r.profile.x[k - 1], r.profile.r[k] - r.profile.r[k - 1]);
      s.push_back(along + edge / 2);
      value.push_back(solution.OneMinusCp(i, 1));
      along += edge;
    }
  };
  std::vector<double> s200, v200, s800, v800;
  ring(200, s200, v200);
  ring(800, s800, v800);
  for (std::size_t i = 0; i < s200.size(); ++i) {
    const std::size_t k = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
        std::upper_bound(s800.begin(), s800.end(), s200[i]) - s800.begin(), 1,
        static_cast<std::ptrdiff_t>(s800.size()) - 1));
    const double a = (s200[i] - s800[k - 1]) / (s800[k] - s800[k - 1]);
    EXPECT_NEAR(v200[i], v800[k - 1] + a * (v800[k] - v800[k - 1]), 0.02) << "panel " << i + 1;
  }
}

// A cone of half-angle 20 degrees on a cylinder with a flat base: the shoulder and the base's
// edge stay points of the profile, each piece stays straight, and the warnings name them.
TEST(ProfileResample, CornersStayCorners) {
  BodyProfile p;
  const double tip = 1 / std::tan(20 * M_PI / 180);
  for (int k = 0; k <= 5; ++k) p.x.push_back(tip * k / 5), p.r.push_back(0.2 * k);
  for (int k = 1; k <= 6; ++k) p.x.push_back(tip + k), p.r.push_back(1);
  p.x.push_back(tip + 6), p.r.push_back(0);
  const ResampledProfile r = ResampleProfile(p, 60);
  ASSERT_EQ(r.corners, (std::vector<int>{6, 12}));
  ASSERT_EQ(r.warnings.size(), 2u);
  EXPECT_NE(r.warnings[0].find("point 6"), std::string::npos);
  int onCorners = 0;
  for (std::size_t k = 0; k < r.profile.x.size(); ++k) {
    const double x = r.profile.x[k], rr = r.profile.r[k];
    if ((x == tip && rr == 1) || (x == tip + 6 && rr == 1)) ++onCorners;
    const double line = x <= tip ? x / tip : x < tip + 6 ? 1 : rr;  // the straight pieces
    EXPECT_NEAR(rr, line, 1e-12) << "point " << k;
  }
  EXPECT_EQ(onCorners, 2);
}

TEST(ProfileResample, RefusesWhatNoCurveGoesThroughAndLeavesOutRepeatedPoints) {
  const BodyProfile good = testing::SphereProfileOf(10);
  auto refused = [](const BodyProfile& p, double ni) {
    try {
      ResampleProfile(p, ni);
    } catch (const ProgramError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  BodyProfile nan = good;
  nan.r[3] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_NE(refused(nan, 50).find("Point 4"), std::string::npos);
  EXPECT_NE(refused({{0, 1}, {0, 0}}, 50).find("at least 3"), std::string::npos);
  EXPECT_NE(refused({{0, 1, 2}, {0, 0, 0}}, 50).find("on the axis"), std::string::npos);
  for (const double ni : {1.0, 2.5, 2e6, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_NE(refused(good, ni).find("whole number of panels"), std::string::npos) << ni;
  }
  BodyProfile repeated = good;
  repeated.x.insert(repeated.x.begin() + 4, repeated.x[3]);
  repeated.r.insert(repeated.r.begin() + 4, repeated.r[3]);
  const ResampledProfile r = ResampleProfile(repeated, 20);
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_NE(r.warnings[0].find("Point 5 of the profile repeats point 4"), std::string::npos);
  EXPECT_EQ(r.profile.x.size(), 21u);
}

}  // namespace
}  // namespace tarvenol
