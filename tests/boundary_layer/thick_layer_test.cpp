// The thick layer's areas against the power-law profile integrated over the cross-section, and
// the search for the profile of a given momentum area and flux.

#include "boundary_layer/thick_layer.h"

#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>
#include <tuple>

#include "boundary_layer/lag_entrainment.h"
#include "boundary_layer/turbulent_layer.h"

namespace tarvenol {
namespace {

// integral over 0..1 of eta^(1 + k / N) with u = eta^(1 / N), by the substitution eta = t^N.
double Moment(double N, double k) {
  return boost::math::quadrature::gauss_kronrod<double, 31>::integrate(
      [&](double t) { return N * std::pow(t, 2 * N - 1 + k); }, 0, 1, 15, 1e-14);
}

// What the radius adds, (area - r0 x planar thickness) / (dr/dn delta^2), is the moment about the
// wall of the power law of the same H across delta = (H + H1) theta.
TEST(ThickLayer, AreasAreThePowerLawsMomentsAboutTheWall) {
  for (const double H : {1.3, 1.8, 2.3}) {
    const double theta = 0.01, r0 = 0.02, c = 0.8, N = 2 / (H - 1);
    const ThickLayer t = ThickLayerOfTheta(theta, H, r0, c, kGreenProfiles);
    const double delta = (H + GreenH1(H)) * theta, d2c = delta * delta * c;
    EXPECT_NEAR(t.delta, delta, 1e-15);
    EXPECT_NEAR((t.momentumArea - r0 * theta) / d2c, Moment(N, 1) - Moment(N, 2), 1e-12) << H;
    EXPECT_NEAR((t.displacementArea - r0 * H * theta) / d2c, 0.5 - Moment(N, 1), 1e-12) << H;
    EXPECT_NEAR((t.flux - r0 * GreenH1(H) * theta) / d2c, Moment(N, 1), 1e-12) << H;
    EXPECT_NEAR(t.HArea, t.displacementArea / t.momentumArea, 1e-15);
    EXPECT_NEAR(t.edgeRadius, r0 + c * delta, 1e-15);
  }
}

// The profile of a layer's momentum area and flux is found again from a guess far off, for
// both methods' families and layers from 0.01 to 30 times the radius thick; a flux beyond the
// family's gives the family's end.
TEST(ThickLayer, TheProfileOfAMomentumAreaAndFluxIsFoundAgain) {
  for (const double c : {1.0, 0.5, 0.0}) {
    for (const double theta : {1e-4, 1e-2, 0.3}) {
      for (const auto& [family, p, far] :
           {std::tuple{kGreenProfiles, 1.45, 2.2}, std::tuple{kHeadProfiles, HeadH1(1.45), 4.0}}) {
        const ThickLayer t = ThickLayerOfTheta(theta, p, 0.1, c, family);
        ProfileGuess guess{far};
        const ThickLayer found = ThickLayerOfFlux(t.momentumArea, t.flux, 0.1, c, family, guess);
        EXPECT_NEAR(guess.p, p, 1e-9 * p) << c << " " << theta;
        EXPECT_NEAR(found.theta, theta, 1e-9 * theta) << c << " " << theta;
      }
    }
  }
  ProfileGuess guess{1.4};
  EXPECT_EQ(ThickLayerOfFlux(1e-3, 1e3, 0.1, 1, kGreenProfiles, guess).H, kGreenLeastH);
  EXPECT_EQ(ThickLayerOfFlux(1e-3, 1e-9, 0.1, 1, kGreenProfiles, guess).H, kMostTurbulentH);
}

}  // namespace
}  // namespace tarvenol
