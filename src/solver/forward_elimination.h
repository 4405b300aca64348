#pragma once
// Internal to the solver library: only its own files and its tests include it.
// The forward elimination of GaussSolve, blocked and parallel, with the arithmetic of the
// plain algorithm: every element A(i, j) receives A(i, j) - f * (A(k, j) / A(k, k)) for
// k = 1, 2, ... in turn, with f = A(i, k) as it stands before pass k, so the results are
// the same bits whatever the number of threads or the vector width.

#include "core/array.h"
#include "core/progress.h"
#include "solver/vector_path.h"

namespace tarvenol {

// Eliminates below the diagonal of rows 1..N, columns 1..N and the right-hand sides in the
// columns after them, on the given vector path, which the CPU must run. Every column takes the
// same multipliers in the same order, so a right-hand side gets the same bits whatever others
// are eliminated beside it. Returns 0, or the first pivot row k < N whose diagonal element is
// exactly 0 when its pass begins; A then holds what passes 1..k - 1 made of it. Throws
// Cancelled, between two blocks of pivots, when progress asks to stop.
int EliminateForward(Array2& A, int N, int rightHandSides, Progress& progress, VectorPath path);

}  // namespace tarvenol
