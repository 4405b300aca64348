// The boundary layer on prescribed edge velocities against the closed forms of its methods and
// the classical solutions, the refusals of bad settings, and the table's bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "boundary_layer/boundary_layer.h"
#include "boundary_layer/drag_table.h"
#include "boundary_layer/lag_entrainment.h"
#include "core/program_error.h"

namespace tarvenol {
namespace {

using Profile = std::function<double(double)>;

// n + 1 stations evenly along [0, length] of a body of length 1; x = s. The same r0 at every
// station makes a planar layer.
BoundaryLayerInput Prescribed(double length, int n, const Profile& Ue, const Profile& r0,
                              double reynolds, TransitionSetting t) {
  BoundaryLayerInput in;
  for (int k = 0; k <= n; ++k) {
    const double s = length * k / n;
    in.meridian.s.push_back(s);
    in.meridian.x.push_back(s);
    in.meridian.r0.push_back(r0(s));
    in.meridian.Ue.push_back(Ue(s));
  }
  const std::vector<double>& r = in.meridian.r0;
  in.meridian.planar = std::equal(r.begin() + 1, r.end(), r.begin());
  in.body = {1, 0, 1, 1, 1};
  in.reynolds = reynolds;
  in.transition = t;
  return in;
}

const Profile kOne = [](double) { return 1.0; };
constexpr TransitionSetting kLaminar{TransitionKind::Laminar, 0};

// Thwaites' theta^2 = 0.45 nu x on a flat plate is 1.03 % above Blasius' 0.664 x / sqrt(Re_x),
// and his l(0) = 0.22 makes cf sqrt(Re_x) = 0.656, 1.2 % below Blasius' 0.664.
TEST(PrescribedEdge, LaminarFlatPlateWithinThwaitesOwnErrorOfBlasius) {
  const BoundaryLayerResult r = MarchBoundaryLayer(Prescribed(1, 100, kOne, kOne, 1e5, kLaminar));
  ASSERT_EQ(r.stations.size(), 100u);
  EXPECT_EQ(r.end, LayerEnd::Tail);
  for (const LayerStation& k : r.stations) {
    const double ReX = 1e5 * k.s;
    EXPECT_NEAR(k.theta, std::sqrt(0.45 / 1e5 * k.s), 1e-9 * k.theta);
    EXPECT_NEAR(k.theta / (0.664 * k.s / std::sqrt(ReX)), 1, 0.011);
    EXPECT_NEAR(k.cf * std::sqrt(ReX) / 0.664, 1, 0.013);
    EXPECT_NEAR(k.H, 2.61, 1e-12);
  }
}

// Howarth's linearly retarded flow Ue = U (1 - x/L) separates at x/L = 0.1199 (Howarth 1938);
// Thwaites' method, lambda = -0.075 ((1 - x)^-6 - 1) = -0.09, at 1 - 2.2^(-1/6) = 0.12316.
TEST(PrescribedEdge, HowarthsRetardedFlowSeparatesWhereThwaitesSays) {
  const Profile Ue = [](double s) { return 1 - s; };
  const BoundaryLayerResult r = MarchBoundaryLayer(Prescribed(0.2, 200, Ue, kOne, 1e5, kLaminar));
  EXPECT_EQ(r.end, LayerEnd::LaminarSeparation);
  ASSERT_TRUE(r.figures.xSeparation);
  EXPECT_NEAR(*r.figures.xSeparation, 1 - std::pow(2.2, -1.0 / 6), 1e-5);
  EXPECT_EQ(r.stations.back().regime, Regime::Separated);
  ASSERT_EQ(r.warnings.size(), 1u);

  // Noise of 2e-4 from station to station, 0.001 apart, would make a difference quotient's
  // dUe/ds 40 % wrong and move separation by about 0.03 L; the least-squares derivative keeps it
  // within 2e-4 L.
  BoundaryLayerInput noisy = Prescribed(0.2, 200, Ue, kOne, 1e5, kLaminar);
  for (std::size_t k = 1; k < noisy.meridian.Ue.size(); ++k) {
    noisy.meridian.Ue[k] += k % 2 ? 2e-4 : -2e-4;
  }
  EXPECT_NEAR(*MarchBoundaryLayer(noisy).figures.xSeparation, *r.figures.xSeparation, 2e-4);

  // Free, the layer separates long before Michel's criterion: it is taken turbulent there.
  const BoundaryLayerResult free =
      MarchBoundaryLayer(Prescribed(0.2, 200, Ue, kOne, 1e5, {TransitionKind::Free, 0}));
  EXPECT_TRUE(free.separationBubble);
  ASSERT_TRUE(free.figures.xTransition);
  EXPECT_NEAR(*free.figures.xTransition, *r.figures.xSeparation, 1e-9);
  EXPECT_NE(free.warnings.front().find("before it turns turbulent"), std::string::npos);
}

// Ue = a s at a planar stagnation point (Hiemenz) and an axisymmetric one (r0 = s): Thwaites'
// integral gives theta^2 a / nu = 0.45 / 6 and 0.45 / 8 at every station (Hiemenz's exact
// solution has 0.0854).
TEST(PrescribedEdge, StagnationPointsKeepTheirTheta) {
  const Profile Ue = [](double s) { return 3 * s; };
  const Profile r0 = [](double s) { return s; };
  for (const auto& [radius, constant] : {std::pair{kOne, 0.075}, std::pair{r0, 0.05625}}) {
    const BoundaryLayerResult r =
        MarchBoundaryLayer(Prescribed(0.1, 100, Ue, radius, 1e6, kLaminar));
    for (const LayerStation& k : r.stations) {
      EXPECT_NEAR(k.theta * k.theta * 3 * 1e6, constant, 1e-8) << "s = " << k.s;
    }
  }
}

// Michel's criterion against Thwaites' flat plate, Re_theta = sqrt(0.45 Re_x): the root of the
// two in Re_x, by bisection here.
TEST(PrescribedEdge, FreeTransitionOnAFlatPlateWhereMichelsCriterionMeetsThwaites) {
  const auto gap = [](double ReX) {
    return std::sqrt(0.45 * ReX) - 1.174 * (1 + 22400 / ReX) * std::pow(ReX, 0.46);
  };
  double low = 1e5, high = 1e7;
  for (int k = 0; k < 100; ++k) (gap((low + high) / 2) < 0 ? low : high) = (low + high) / 2;
  const BoundaryLayerResult r =
      MarchBoundaryLayer(Prescribed(1, 100, kOne, kOne, 1e7, {TransitionKind::Free, 0}));
  ASSERT_TRUE(r.figures.xTransition);
  EXPECT_NEAR(*r.figures.xTransition, low / 1e7, 1e-7);
  EXPECT_FALSE(r.separationBubble);
  // A trip aft of where the layer turns by itself does not keep it laminar.
  const BoundaryLayerResult tripped =
      MarchBoundaryLayer(Prescribed(1, 100, kOne, kOne, 1e7, {TransitionKind::Trip, 0.5}));
  EXPECT_DOUBLE_EQ(*tripped.figures.xTransition, *r.figures.xTransition);
}

// The turbulent flat plate at Re_L = 1e7, turbulent from the first station, against the 1/7
// power law theta = 0.036 x Re_x^-0.2 (cf = 0.0576 Re_x^-0.2) of a layer turbulent from the
// leading edge, which holds to Re_x of about 1e7. From Re_x = 4e6 Head's method with Ludwieg &
// Tillmann's cf follows it within 5 %; the lag-entrainment method's theta too, and its cf is its
// own flat-plate law cf0(Re_theta), in equilibrium.
TEST(PrescribedEdge, TurbulentFlatPlateWithinFivePercentOfTheSeventhPowerLaw) {
  for (const TurbulentMethod method : {TurbulentMethod::Head, TurbulentMethod::LagEntrainment}) {
    BoundaryLayerInput in = Prescribed(1, 200, kOne, kOne, 1e7, {TransitionKind::Trip, 0});
    in.turbulent = method;
    const BoundaryLayerResult r = MarchBoundaryLayer(in);
    EXPECT_NEAR(*r.figures.xTransition, 0.005, 1e-12);  // a trip ahead acts at the first station
    for (const LayerStation& k : r.stations) {
      if (k.s < 0.4) continue;
      const double ReX = 1e7 * k.s;
      EXPECT_NEAR(k.theta / (0.036 * k.s * std::pow(ReX, -0.2)), 1, 0.05) << k.s;
      if (method == TurbulentMethod::Head) {
        EXPECT_NEAR(k.cf / (0.0576 * std::pow(ReX, -0.2)), 1, 0.05) << k.s;
      } else {
        EXPECT_NEAR(k.cf / GreenFlatPlateCf(k.ReTheta), 1, 0.01) << k.s;
      }
    }
  }
}

// A thin cylinder of radius R in axial flow, Ue = U: with no pressure gradient the momentum
// area grows by exactly R cf / 2, so that Young's drag is the skin friction's, here to the
// trapezoidal rule's error over 400 stations (6e-4), though the layer grows to five times R.
// The radius thins the wall's theta for a given momentum area, so the skin friction stays above
// the flat plate's (by 48 % at the end), the rise transverse curvature is known to bring; a
// cylinder of R = 1000 L is the flat plate to 1e-4.
TEST(PrescribedEdge, ThickLayerOnACylinderInAxialFlow) {
  const auto plate = [](const Profile& r0, bool planar) {
    BoundaryLayerInput in = Prescribed(1, 400, kOne, r0, 1e7, {TransitionKind::Trip, 0});
    in.meridian.planar = planar;
    return MarchBoundaryLayer(in);
  };
  const BoundaryLayerResult flat = plate(kOne, true);
  const BoundaryLayerResult thin = plate([](double) { return 0.002; }, false);
  const BoundaryLayerResult wide = plate([](double) { return 1000.0; }, false);
  EXPECT_NEAR(thin.figures.CDWetted / thin.figures.CDFrictionWetted, 1, 2e-3);
  const LayerStation& end = thin.stations.back();
  EXPECT_GT(end.theta * (end.H + GreenH1(end.H)), 5 * 0.002);
  for (std::size_t k = 2; k < flat.stations.size(); ++k) {
    EXPECT_GT(thin.stations[k].cf, flat.stations[k].cf) << k;
    EXPECT_NEAR(wide.stations[k].theta / flat.stations[k].theta, 1, 1e-4) << k;
  }
  EXPECT_GT(end.cf, 1.4 * flat.stations.back().cf);
}

TEST(PrescribedEdge, RefusesBadSettingsAndStations) {
  auto refused = [](const BoundaryLayerInput& in) {
    try {
      MarchBoundaryLayer(in);
    } catch (const ProgramError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const BoundaryLayerInput good = Prescribed(1, 20, kOne, kOne, 1e6, kLaminar);
  for (const double re : {0.0, -1.0, 2e10, nan}) {
    BoundaryLayerInput in = good;
    in.reynolds = re;
    EXPECT_NE(refused(in).find("Reynolds number"), std::string::npos) << re;
  }
  for (const double trip : {-0.1, 1.5, nan}) {
    BoundaryLayerInput in = good;
    in.transition = {TransitionKind::Trip, trip};
    EXPECT_NE(refused(in).find("trip"), std::string::npos) << trip;
  }
  EXPECT_NE(refused(Prescribed(1, 5, kOne, kOne, 1e6, kLaminar)).find("at least"),
            std::string::npos);
  BoundaryLayerInput stalled = good;
  stalled.meridian.Ue[7] = 0;
  EXPECT_NE(refused(stalled).find("station 8 is zero"), std::string::npos);
  BoundaryLayerInput backwards = good;
  backwards.meridian.s[9] = backwards.meridian.s[8];
  EXPECT_NE(refused(backwards).find("does not increase at station 10"), std::string::npos);
  // An edge velocity that falls from the nose separates the laminar layer at the stagnation
  // point, with nothing to march on from.
  for (const TransitionSetting t : {kLaminar, TransitionSetting{}}) {
    const Profile falling = [](double s) { return s == 0 ? 0 : std::exp(-20 * s); };
    EXPECT_NE(refused(Prescribed(1, 20, falling, kOne, 1e6, t)).find("at the stagnation point"),
              std::string::npos);
  }
  BoundaryLayerInput noBody = good;
  noBody.body.volume = 0;
  EXPECT_NE(refused(noBody).find("no length, area or volume"), std::string::npos);
}

TEST(PrescribedEdge, TheTableAndTheFiguresAsText) {
  const Profile Ue = [](double s) { return 1 - s; };
  const BoundaryLayerResult r = MarchBoundaryLayer(Prescribed(0.2, 200, Ue, kOne, 1e5, kLaminar));
  const std::string csv = DragCsv(r);
  ASSERT_EQ(csv.rfind("x_over_L,s,Ue,theta,delta_star,H,cf,Re_theta,regime\n", 0), 0u);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), static_cast<long>(r.stations.size()) + 1);
  EXPECT_NE(csv.find(",laminar\n"), std::string::npos);
  EXPECT_EQ(csv.substr(csv.size() - 11), ",separated\n");
  // The second row's theta reads back as the same double.
  const std::size_t row = csv.find('\n') + 1;
  std::size_t at = row;
  for (int comma = 0; comma < 3; ++comma) at = csv.find(',', at) + 1;
  double theta = 0;
  std::from_chars(csv.data() + at, csv.data() + csv.find(',', at), theta);
  EXPECT_EQ(theta, r.stations.front().theta);

  const std::string figures = DragFigureLines(r);
  for (const char* line : {"Re_L 1e+05\n", "x_transition none\n", "x_separation 0.123"}) {
    EXPECT_NE(figures.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(std::count(figures.begin(), figures.end(), '\n'), 9);
}

}  // namespace
}  // namespace tarvenol
