#pragma once
// The coefficient stage of the solve by the body's symmetry (symmetric_solve.h): the sums of
// the Fourier modes 0 and 1 of every ring's coefficients at the control points of column 1,
// near rings by the panel kernel, far ones by the far field (ring_far_field.h).

#include <vector>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"
#include "solver/vector_path.h"

namespace tarvenol {

// cos and sin of phi_j, the angle of the meridian plane through the middle of column j.
struct Column {
  double c = 1, s = 0;
};

// From the control points of the first ring, which lie in those planes; 1..NJ.
std::vector<Column> ColumnAngles(const ModelState& s, int nj);

// The axes of panel (i, j) that the modes are resolved along: e, the circumferential
// direction of column j, and t = e x Zta, the meridional tangent.
struct ModeAxes {
  double eY, eZ;  // e has no x part
  double tX, tY, tZ;
};

ModeAxes AxesOf(const ModelState& s, int i, int j, const Column& phi);

// The five mode matrices, rows and columns 1..NI: the Zta sums of m = 0 and 1 followed by the
// right-hand sides (m = 0: one column per flow; m = 1: the cos parts, then the sin parts), and
// the t sums of m = 0 and 1 and the e sum of m = 1; and P1, the potential's sums of m = 1
// (sum_d phi(i, i', d) cos(d dPhi), phi the potential of unit source strength on panel
// (i', 1 + d) at the control point of (i, 1)), which a source ring of mode 1 multiplies into
// the potential on the body (body_potential.h). Empty matrices are not gathered: the five,
// or P1.
struct ModeMatrices {
  Array2 N0, N1, T0, T1, C1;
  Array2 P1;
};

// Source columns d = 0..NJ/2 of each ring: the other half are their mirror images.
inline int HalfColumns(int nj) {
  return nj / 2 + 1;
}

// The rows of the mode sums, ring by ring (in parallel where there are enough), with far rings
// taken by the far field within farTolerance (0: none); P1's far rings by the same rules, and
// so within RingPotentialTolerance(s, farTolerance). Returns 0, or the first ring whose sums
// are not all finite. Throws Cancelled when progress asks to stop.
int GatherModeSums(const ModelState& s, ModeMatrices& M, const std::vector<Column>& phi,
                   double farTolerance, VectorPath path, Progress& progress);

// Kernel calls and far-field point sources of the coefficient stage, counted on up to rows of
// the rings spread along the body and scaled to all of them.
struct ModeSumsWork {
  double kernelCalls = 0, farPoints = 0;
};
ModeSumsWork CountModeSumsWork(const ModelState& s, double farTolerance, int rows);

}  // namespace tarvenol
