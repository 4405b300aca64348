#pragma once
// What the two files of the source field share: the orders and sizes of its expansions, the
// terms of their coefficients and the corners of a panel in the field's unit of length.

#include <complex>
#include <cstddef>

#include "core/model_state.h"
#include "results/solid_harmonics.h"

namespace tarvenol::source_terms {

// The highest order of the expansions: with it a node meets the bound from about 2.2 to 2.8 of
// its radii on, the farther the fewer.
inline constexpr int kMaxOrder = 22;
// Lanes of the sums of an expansion's terms; its coefficients are kept in whole sets of them.
inline constexpr int kTermLanes = 8;
inline constexpr int Padded(int n) {
  return (n + kTermLanes - 1) / kTermLanes * kTermLanes;
}
inline constexpr int kCoefficients = Padded(HarmonicCount(kMaxOrder + 1));
static_assert(kMaxOrder <= kMaxHarmonicDegree);
// Entries of reach_ for each node: k = 0..kMaxOrder + 1.
inline constexpr std::size_t kReach = kMaxOrder + 2;
// Entries of gradient_ for each node: for each set and component, real then imaginary parts.
inline constexpr std::size_t GradientSize(int flows) {
  return static_cast<std::size_t>(flows) * 3 * 2 * kCoefficients;
}

// Gauss-Legendre points along each side of a panel, on its bilinear map from the unit square:
// a polynomial of degree l in the point, times the map's Jacobian (linear for a plane
// quadrilateral or a triangle), has degree l + 1 along each side; n points integrate it exactly
// for l + 1 <= 2n - 1.
inline constexpr int kGaussPoints = 6;
inline constexpr int kExactDegree = 2 * kGaussPoints - 2;

// Adds X to the coefficient of I_lm in a sum whose real part is taken; a negative m goes to
// I_l,-m through I_l,-m = (-1)^m conj(I_lm).
inline void AddTerm(Complex* G, int l, int m, Complex X) {
  if (m >= 0) {
    G[HarmonicIndex(l, m)] += X;
  } else {
    G[HarmonicIndex(l, -m)] += (-m) % 2 != 0 ? -std::conj(X) : std::conj(X);
  }
}

struct Corners {
  double q[4][3];  // a triangle repeats its last corner
};

// Corners of panel m in the field's unit of length, unit times the model's.
inline Corners CornersOf(const ModelState& s, int m, double unit) {
  const int nj = LoopEnd(s.NJ);
  const int i = (m - 1) / nj + 1, j = (m - 1) % nj + 1;
  Corners c{};
  const int n = s.NCor(i, j);
  for (int k = 0; k < 4; ++k) {
    const int corner = k < n ? k + 1 : n;
    c.q[k][0] = s.xCor(i, j, corner) * unit;
    c.q[k][1] = s.yCor(i, j, corner) * unit;
    c.q[k][2] = s.zCor(i, j, corner) * unit;
  }
  return c;
}

}  // namespace tarvenol::source_terms
