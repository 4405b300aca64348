#pragma once
// Plain Gaussian elimination of a dense augmented system, without any pivoting, then back
// substitution. A zero diagonal element is shown to the user, never reported to the caller.

#include "core/array.h"
#include "core/window_ops.h"

namespace tarvenol {

// Solves sum_j A(m, j) X(j) = A(m, N + 1), m = 1..N, on rows and columns from 1; A is left
// upper triangular. A diagonal element that is exactly 0 when its pass (or the back
// substitution) needs it shows " sıfır diyagonal elemanı" and returns at once: A stays as far
// as it was eliminated, X is not written.
void GaussSolve(int N, Array2& A, Array1& X, WindowOps& win);

}  // namespace tarvenol
