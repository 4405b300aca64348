#pragma once
// Hess's method solved by the body's rotational symmetry, without the full matrices.
//
// The panels of ring i are one panel turned about the x axis by multiples of dPhi = 2 pi / NJ,
// and each is its own mirror image in the meridian plane through its middle, at the angle
// phi_j of column j, in which its control point and its normal Zta lie. At each control point
// the velocity is taken along Zta, the circumferential direction e_j = (0, -sin phi_j,
// cos phi_j) and the meridional tangent t = e_j x Zta. The coefficient K(i, i', d) of source
// panel (i', j + d) at field panel (i, j), d counted modulo NJ, is then the same for every j;
// the mirror takes source panel j + d to j - d, so the Zta and t components of K are even in
// d and the e component is odd. (The panel's own Xsi runs along its first edge, on the meridian
// of the column's first corner, not in the mirror plane: it is neither even nor odd, which is
// why the velocities are resolved along t and e and turned onto Xsi and Ita at the end.)
//
// Sources a(i') cos(m phi) + b(i') sin(m phi) therefore induce at panel (i, j)
//   along Zta and t:  sum_i' M(i, i') (a(i') cos(m phi_j) + b(i') sin(m phi_j)),
//                     M = sum_d K(i, i', d) cos(m d dPhi),
//   along e:          sum_i' C(i, i') (b(i') cos(m phi_j) - a(i') sin(m phi_j)),
//                     C = sum_d K(i, i', d) sin(m d dPhi),
// and the system of NI * NJ equations splits into one of NI equations for each mode m. The
// right-hand side -n . (V + omega x (r - c)) of any onset flow holds the modes 0 and 1 only
// (n and r lie in the meridian plane, so n . (omega x r) = omega . (r x n) goes with e_j):
// the axial stream excites m = 0, the transverse stream and the pitch turn m = 1, each a cos
// part; a stream or turn out of the x-y plane has a sin part too. Five NI x NI sums are needed: Zta
// for m = 0 and 1, to solve; t for m = 0 and 1 and e for m = 1, for the surface velocities.
//
// The sums are gathered ring by ring from one row of coefficients at a time (ring i's panel of
// column 1 against the source panels), which is never stored whole. The mirror pairs d and
// NJ - d count twice from one evaluation, so only d = 0..NJ/2 is evaluated: NI * NI *
// (NJ/2 + 1) kernel calls instead of (NI * NJ)^2. Only the rings near a control point take
// them (mode_sums.h); the far rings' sums come from the far field (ring_far_field.h), which
// keeps the error of each sum of a row within farTolerance. A sphere of 1000 x 360 panels then
// makes 4.5 % of the kernel calls, one of 256 x 256 6.5 %, a hull of 100 x 16 15 %, and the
// solution of a sphere or an example body moves by 1e-13 of the stream at most. Each mode is solved by GaussSolve, the
// program's own elimination: within 15 % of OpenBLAS's dgesv and twice as fast as Eigen's LU
// on systems of 256 and 1000 equations (the benchmark BM_ModeSystem), and the same bits on
// every machine and thread count, so that the report is too.

#include <vector>

#include "core/model_state.h"
#include "core/progress.h"
#include "solver/hess_solve.h"
#include "solver/mode_sums.h"
#include "solver/onset_flow.h"
#include "solver/ring_far_field.h"
#include "solver/vector_path.h"

namespace tarvenol {

// Kernel calls and far-field point sources of the solve of s's panels, counted on a few rows.
ModeSumsWork SymmetricSolveWork(const ModelState& s);

// Bytes the solve holds besides the geometry, on the given number of threads: half the body's
// source panels, a row of coefficients for each thread, the mode matrices and the solution;
// with the potential's sums (SymmetricSolve's second form), those and a row more for each
// thread.
double SymmetricSolveBytes(double ni, double nj, int flows, int threads,
                           bool ringPotentials = false);

// Whether the panels are each their own mirror image, which the mode sums need: not those of a
// profile that ends off the axis, whose end rings are closed by triangles with a corner on one
// side only. RequireMirrorPanels refuses the others.
bool MirrorPanels(const ModelState& s);
void RequireMirrorPanels(const ModelState& s);

// Refuses a size whose arrays would not fit on the threads the solve runs on, or whose panels
// cannot be numbered.
void RequireSymmetricSolveMemory(double ni, double nj, int flows, bool ringPotentials = false);

// The same solution as HessSolve's, within rounding, without its matrices: the source
// strengths, surface velocities and 1 - Cp of every onset flow, for panels built by
// BuildPanels. zeroPivotRow names the panel (k, 1) of a mode's row k whose diagonal element
// the elimination met as 0; nonFinitePanel the panel (i, 1) of the first ring whose
// coefficients are not finite, or the first panel of the solution that is not. Refuses panels
// that are not their own mirror images, and a size whose arrays would not fit in memory,
// before any is allocated. Tells progress how far it has come, and throws Cancelled when it
// asks to stop. farTolerance bounds the far field's error on each mode sum of a row (0: the
// kernel for every ring).
HessSolution SymmetricSolve(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                            Progress& progress, VectorPath path = WidestVectorPath(),
                            double farTolerance = kRingFarFieldTolerance);

// The same solution, and ringPotentials [0..NI, 0..NI] the potential's sums of mode 1 of every
// ring at the control points of column 1 (ModeMatrices::P1), gathered beside the mode sums at
// little cost, within RingPotentialTolerance(s, kRingFarFieldTolerance) on each row: what the
// added masses need of the body (added_masses.h). The solution is the same bits as the first
// form's.
HessSolution SymmetricSolve(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                            Progress& progress, Array2& ringPotentials);

// Those sums alone, the same bits as the second form gives, for a solution that came without
// them: a solve's coefficient stage, for panels that are their own mirror images. Refuses what
// SymmetricSolve refuses of the panels; tells progress, which may stop it (Cancelled).
Array2 RingPotentials(const ModelState& s, Progress& progress);

}  // namespace tarvenol
