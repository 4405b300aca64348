#pragma once
// Plain Gaussian elimination of a dense augmented system, without any pivoting, then back
// substitution.

#include "core/array.h"
#include "core/progress.h"
#include "solver/vector_path.h"

namespace tarvenol {

// Solves sum_j A(m, j) X(j) = A(m, N + 1), m = 1..N, on rows and columns from 1; A is left
// upper triangular. Returns 0, or the row k whose diagonal element is exactly 0 when its pass
// (or, for k = N, the back substitution) needs it: then A stays as far as it was eliminated
// and X is not written. Throws Cancelled during the elimination when progress asks to stop.
// The elimination runs on the widest vector path of the CPU, or on the given one.
int GaussSolve(int N, Array2& A, Array1& X, Progress& progress,
               VectorPath path = WidestVectorPath());

inline int GaussSolve(int N, Array2& A, Array1& X) {
  IgnoredProgress unseen;
  return GaussSolve(N, A, X, unseen);
}

}  // namespace tarvenol
