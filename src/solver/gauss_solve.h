#pragma once
// Internal to the solver library: only its own files and its tests include it.
// Plain Gaussian elimination of a dense augmented system, without any pivoting, then back
// substitution, for one right-hand side or several.

#include <span>

#include "core/array.h"
#include "core/progress.h"
#include "solver/vector_path.h"

namespace tarvenol {

// Solves sum_j A(m, j) X[r](j) = A(m, N + 1 + r), m = 1..N, for every right-hand side r, on rows
// and columns from 1; A is left upper triangular. Each right-hand side gets the same bits as it
// would alone. Returns 0, or the row k whose diagonal element is exactly 0 when its pass (or,
// for k = N, the back substitution) needs it: then A stays as far as it was eliminated and no X
// is written. Throws Cancelled during the elimination when progress asks to stop. The
// elimination runs on the widest vector path of the CPU, or on the given one.
int GaussSolve(int N, Array2& A, std::span<Array1> X, Progress& progress,
               VectorPath path = WidestVectorPath());

inline int GaussSolve(int N, Array2& A, Array1& X, Progress& progress,
                      VectorPath path = WidestVectorPath()) {
  return GaussSolve(N, A, std::span<Array1>(&X, 1), progress, path);
}

inline int GaussSolve(int N, Array2& A, Array1& X) {
  IgnoredProgress unseen;
  return GaussSolve(N, A, X, unseen);
}

}  // namespace tarvenol
