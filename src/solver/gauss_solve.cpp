#include "solver/gauss_solve.h"

#include "solver/forward_elimination.h"

namespace tarvenol {

int GaussSolve(int N, Array2& A, Array1& X, Progress& progress, VectorPath path) {
  if (const int zeroAt = EliminateForward(A, N, progress, path); zeroAt != 0) return zeroAt;
  if (A(N, N) == 0) return N;
  X(N) = A(N, N + 1) / A(N, N);
  for (int k = N - 1; k >= 1; --k) {
    const double* row = A.Row(static_cast<std::size_t>(k));
    double s = 0;
    for (int j = k + 1; j <= N; ++j) s = s + X(j) * row[j];
    X(k) = (row[N + 1] - s) / row[k];
  }
  return 0;
}

}  // namespace tarvenol
