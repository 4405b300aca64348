#include "solver/gauss_solve.h"

#include "solver/forward_elimination.h"

namespace tarvenol {

int GaussSolve(int N, Array2& A, std::span<Array1> X, Progress& progress, VectorPath path) {
  const int sides = static_cast<int>(X.size());
  if (const int zeroAt = EliminateForward(A, N, sides, progress, path); zeroAt != 0) {
    return zeroAt;
  }
  if (A(N, N) == 0) return N;
  // The right-hand sides' columns follow the N columns of the coefficients.
  int rhs = N + 1;
  for (Array1& x : X) {
    x(N) = A(N, rhs) / A(N, N);
    for (int k = N - 1; k >= 1; --k) {
      const double* row = A.Row(static_cast<std::size_t>(k));
      double s = 0;
      for (int j = k + 1; j <= N; ++j) s = s + x(j) * row[j];
      x(k) = (row[rhs] - s) / row[k];
    }
    ++rhs;
  }
  return 0;
}

}  // namespace tarvenol
