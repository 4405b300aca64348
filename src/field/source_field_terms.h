#pragma once
// Internal to the source field (source_field.cpp, source_moments.cpp): the sizes and shares
// that the tree, the moments and the sums of the expansions share.

#include <cstddef>

#include "core/model_state.h"
#include "field/solid_harmonics.h"

namespace tarvenol::source_field {

// Panels of a leaf of the tree: few enough that the exact formula is cheap beside an
// expansion, enough that a leaf's expansion pays.
inline constexpr int kLeafPanels = 32;

// The shares of the work told to progress, roughly as they take time: the tree, the charges of
// the Gauss points, the moments of the leaves, their translations up the tree, the gradients.
inline constexpr double kTreeDone = 0.05, kChargesDone = 0.1, kLeavesDone = 0.65,
                        kTranslationsDone = 0.9;
// Sources of a node between two questions whether to stop: about a millisecond's work.
inline constexpr std::size_t kSourcesAsked = 1 << 14;

// The highest order of the expansions: with it a node meets the bound from about 2.2 to 2.8 of
// its radii on, the farther the fewer.
inline constexpr int kMaxOrder = 22;
static_assert(kMaxOrder <= kMaxHarmonicDegree);
// Moments of each node and set: the regular harmonics up to kMaxOrder.
inline constexpr std::size_t kMoments = HarmonicCount(kMaxOrder);
// Lanes of the sums of an expansion's terms; its coefficients are kept in whole sets of them.
inline constexpr int kTermLanes = 8;
constexpr int Padded(int n) {
  return (n + kTermLanes - 1) / kTermLanes * kTermLanes;
}
inline constexpr int kCoefficients = Padded(HarmonicCount(kMaxOrder + 1));
// Entries of reach_ for each node: k = 0..kMaxOrder + 1.
inline constexpr std::size_t kReach = kMaxOrder + 2;
// Entries of gradient_ for each node: for each set and component, real then imaginary parts.
constexpr std::size_t GradientSize(int flows) {
  return static_cast<std::size_t>(flows) * 3 * 2 * kCoefficients;
}

// Gauss-Legendre points along each side of a panel, on its bilinear map from the unit square:
// a polynomial of degree l in the point, times the map's Jacobian (linear for a plane
// quadrilateral or a triangle), has degree l + 1 along each side; n points integrate it exactly
// for l + 1 <= 2n - 1.
inline constexpr int kGaussPoints = 6;
inline constexpr int kExactDegree = 2 * kGaussPoints - 2;
inline constexpr std::size_t kPerPanel = kGaussPoints * kGaussPoints;

struct Corners {
  double q[4][3];  // a triangle repeats its last corner
};

// Corners of panel m in the field's unit of length, unit times the model's.
Corners CornersOf(const ModelState& s, int m, double unit);

}  // namespace tarvenol::source_field
