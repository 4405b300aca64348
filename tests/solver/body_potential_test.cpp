// The potential on the body of sources of mode 1 around the axis, as the added masses take it,
// against the exact sum of every panel's potential.

#include "solver/body_potential.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/hull_families.h"
#include "profile_state.h"
#include "solver/mode_sums.h"
#include "solver/ring_far_field.h"
#include "solver/symmetric_solve.h"
#include "sphere_state.h"

namespace tarvenol {
namespace {

// Sources a_k cos(phi_j - 0.3) on ring k, a_k largest at the ends as the pitch turn's are.
Array2 ModeOneSources(const ModelState& s) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const std::vector<Column> phi = ColumnAngles(s, nj);
  Array2 Sigma(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  for (int k = 1; k <= ni; ++k) {
    const double a = 1 + 4 * std::pow((2.0 * k - ni - 1) / ni, 2);
    for (int j = 1; j <= nj; ++j) {
      const Column& c = phi[static_cast<std::size_t>(j)];
      Sigma(k, j) = a * (c.c * std::cos(0.3) + c.s * std::sin(0.3));
    }
  }
  return Sigma;
}

// The far rings move phi by at most their bounds: the body potential's own, at a loose
// tolerance where its error shows and at a tight one, and the rings' potential sums of the
// solve by the symmetry, which the same meridian's sources multiply. Exact: every panel's
// potential. Rounding allowed for: 1e-14 of the sums' size.
TEST(BodyPotential, FarRingsStayWithinTheirBound) {
  const MyringHull hull{0.3, 0.8, 0.5, 0.2, 2, 20};
  for (const ModelState& s :
       {testing::ProfileState(MyringProfile(hull, 100), 16),
        testing::ProfileState(MyringProfile(hull, 60), 8), testing::SphereState(40, 64)}) {
    const int ni = LoopEnd(s.NI), j = 2;
    const Array2 Sigma = ModeOneSources(s);
    IgnoredProgress unseen;
    const Array1 exact = MeridianPotential(s, Sigma, j, 0, unseen).phi;
    double size = 0, most = 0;
    for (int k = 1; k <= ni; ++k) {
      size = std::max(size, std::fabs(exact(k)));
      most = std::max(most, std::fabs(Sigma(k, j)));
    }
    for (const double tolerance : {1e-4, 1e-13}) {
      const PotentialOnBody far = MeridianPotential(s, Sigma, j, tolerance, unseen);
      EXPECT_DOUBLE_EQ(far.farBound, tolerance * most);
      for (int i = 1; i <= ni; ++i) {
        EXPECT_LE(std::fabs(far.phi(i) - exact(i)), far.farBound + 1e-14 * size) << "row " << i;
      }
    }
    const Array2 P1 = RingPotentials(s, unseen);
    const double bound = RingPotentialTolerance(s, kRingFarFieldTolerance) * most;
    for (int i = 1; i <= ni; ++i) {
      double phi = 0;
      for (int k = 1; k <= ni; ++k) phi += P1(i, k) * Sigma(k, j);
      EXPECT_LE(std::fabs(phi - exact(i)), bound + 1e-14 * size) << "row " << i;
    }
  }
}

}  // namespace
}  // namespace tarvenol
