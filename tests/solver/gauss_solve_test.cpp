#include "solver/gauss_solve.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cstring>
#include <random>
#include <vector>

namespace tarvenol {
namespace {

// Rows of the augmented matrix, from index 1; column 0 is padding.
Array2 System(const std::vector<std::vector<double>>& rows) {
  const std::size_t N = rows.size();
  Array2 A(N, N + 1);
  for (std::size_t m = 0; m < N; ++m) {
    for (std::size_t j = 0; j <= N; ++j) A(m + 1, j + 1) = rows[m][j];
  }
  return A;
}

bool SameBits(const Array2& a, const Array2& b) {
  return a.Size() == b.Size() && std::memcmp(&a(0, 0), &b(0, 0), a.Size() * sizeof(double)) == 0;
}

// The elimination and back substitution written out as plainly as they are described,
// one quotient per element. Returns false where it meets a zero diagonal element.
bool LiteralGauss(int N, Array2& A, Array1& X) {
  for (int k = 1; k <= N; ++k) {
    for (int i = k + 1; i <= N; ++i) {
      const double f = A(i, k);
      for (int j = k; j <= N + 1; ++j) {
        if (A(k, k) == 0) return false;
        A(i, j) = A(i, j) - f * (A(k, j) / A(k, k));
      }
    }
  }
  if (A(N, N) == 0) return false;
  X(N) = A(N, N + 1) / A(N, N);
  for (int k = N - 1; k >= 1; --k) {
    double s = 0;
    for (int j = k + 1; j <= N; ++j) s = s + X(j) * A(k, j);
    X(k) = (A(k, N + 1) - s) / A(k, k);
  }
  return true;
}

// A random system whose pivots stay clear of zero.
Array2 RandomSystem(int N, unsigned seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> value(-1, 1);
  const auto n = static_cast<std::size_t>(N);
  Array2 A(n, n + 1);
  for (int m = 1; m <= N; ++m) {
    for (int j = 1; j <= N + 1; ++j) A(m, j) = value(random);
    A(m, m) += N;
  }
  return A;
}

TEST(GaussSolve, OneEquation) {
  Array2 A = System({{4, 3}});
  Array1 X(1);
  EXPECT_EQ(GaussSolve(1, A, X), 0);
  EXPECT_EQ(X(1), 0.75);
}

TEST(GaussSolve, TwoEquationsLeaveTheUpperTriangle) {
  Array2 A = System({{2, 1, 3}, {4, 3, 7}});
  Array1 X(2);
  EXPECT_EQ(GaussSolve(2, A, X), 0);
  EXPECT_EQ(X(1), 1);
  EXPECT_EQ(X(2), 1);
  EXPECT_TRUE(SameBits(A, System({{2, 1, 3}, {0, 1, 1}})));
}

TEST(GaussSolve, RefusesASystemThatWouldNeedARowExchange) {
  Array2 A = System({{0, 1, 1}, {1, 0, 1}});
  Array1 X(2);
  X(1) = 7;
  X(2) = 8;
  EXPECT_EQ(GaussSolve(2, A, X), 1);
  EXPECT_TRUE(SameBits(A, System({{0, 1, 1}, {1, 0, 1}})));
  EXPECT_EQ(X(1), 7);
  EXPECT_EQ(X(2), 8);
}

TEST(GaussSolve, AZeroArisingInTheEliminationKeepsTheFirstPass) {
  Array2 A = System({{1, 1, 1, 3}, {1, 1, 2, 4}, {2, 3, 1, 6}});
  Array1 X(3);
  X(2) = 5;
  EXPECT_EQ(GaussSolve(3, A, X), 2);
  EXPECT_TRUE(SameBits(A, System({{1, 1, 1, 3}, {0, 0, 1, 1}, {0, 1, -1, 0}})));
  EXPECT_EQ(X(1), 0);
  EXPECT_EQ(X(2), 5);
}

TEST(GaussSolve, AZeroLastDiagonalElementIsRefusedLikeAnyOther) {
  Array2 A = System({{1, 1, 2}, {1, 1, 2}});
  Array1 X(2);
  X(1) = 3;
  X(2) = 4;
  EXPECT_EQ(GaussSolve(2, A, X), 2);
  EXPECT_TRUE(SameBits(A, System({{1, 1, 2}, {0, 0, 0}})));
  EXPECT_EQ(X(1), 3);
  EXPECT_EQ(X(2), 4);
}

// The blocked elimination must give the plain algorithm's bits, on sizes that leave partial
// blocks and tiles, with one thread and with several, on every vector path the CPU runs.
TEST(GaussSolve, SameBitsAsThePlainAlgorithm) {
  for (const int N : {5, 131, 333}) {
    const Array2 system = RandomSystem(N, static_cast<unsigned>(N));
    Array2 expectedA = system;
    Array1 expectedX(static_cast<std::size_t>(N));
    ASSERT_TRUE(LiteralGauss(N, expectedA, expectedX));
    for (const VectorPath path : VectorPathsOfThisCpu()) {
      for (const int threads : {1, 2, 3}) {
        SCOPED_TRACE(::testing::Message() << N << " equations, " << threads << " threads, path "
                                          << static_cast<int>(path));
        omp_set_num_threads(threads);
        Array2 A = system;
        Array1 X(static_cast<std::size_t>(N));
        IgnoredProgress unseen;
        EXPECT_EQ(GaussSolve(N, A, X, unseen, path), 0);
        EXPECT_TRUE(SameBits(A, expectedA));
        EXPECT_EQ(std::memcmp(&X(0), &expectedX(0), X.Size() * sizeof(double)), 0);
      }
    }
  }
  omp_set_num_threads(omp_get_num_procs());
}

// Further right-hand sides in the columns after N + 1 take the same multipliers in the same
// order: each solution, and the matrix, are the bits of that right-hand side solved alone.
TEST(GaussSolve, SeveralRightHandSidesEachGetTheBitsOfASolveAlone) {
  constexpr int kSides = 3;
  for (const int N : {131, 333}) {
    const auto n = static_cast<std::size_t>(N);
    std::mt19937_64 random(static_cast<unsigned>(N));
    std::uniform_real_distribution<double> value(-1, 1);
    const Array2 square = RandomSystem(N, static_cast<unsigned>(N));
    Array2 system(n, n + kSides);
    for (int m = 1; m <= N; ++m) {
      for (int j = 1; j <= N; ++j) system(m, j) = square(m, j);
      for (int r = 0; r < kSides; ++r) system(m, N + 1 + r) = value(random);
    }
    for (const VectorPath path : VectorPathsOfThisCpu()) {
      for (const int threads : {1, 2}) {
        SCOPED_TRACE(::testing::Message() << N << " equations, " << threads << " threads, path "
                                          << static_cast<int>(path));
        omp_set_num_threads(threads);
        IgnoredProgress unseen;
        Array2 A = system;
        std::vector<Array1> X(kSides, Array1(n));
        ASSERT_EQ(GaussSolve(N, A, X, unseen, path), 0);
        for (int r = 0; r < kSides; ++r) {
          Array2 alone(n, n + 1);
          for (int m = 1; m <= N; ++m) {
            for (int j = 1; j <= N; ++j) alone(m, j) = square(m, j);
            alone(m, N + 1) = system(m, N + 1 + r);
          }
          Array1 x(n);
          ASSERT_EQ(GaussSolve(N, alone, x, unseen, path), 0);
          const Array1& together = X[static_cast<std::size_t>(r)];
          EXPECT_EQ(std::memcmp(&x(0), &together(0), x.Size() * sizeof(double)), 0) << r;
          for (std::size_t m = 1; m <= n; ++m) {
            EXPECT_EQ(std::memcmp(alone.Row(m) + 1, A.Row(m) + 1, n * sizeof(double)), 0) << m;
            EXPECT_EQ(alone(m, N + 1), A(m, N + 1 + r)) << m;
          }
        }
      }
    }
  }
  omp_set_num_threads(omp_get_num_procs());
}

// Column k above the diagonal and A(k, k) zero: no pass before k changes them, so pass k
// finds a zero after every earlier pass has changed the rest of the matrix.
TEST(GaussSolve, AZeroPivotDeepInsideLeavesThePlainAlgorithmsPartialMatrix) {
  const int N = 200;
  for (const int k : {65, 70, 150, N}) {
    Array2 system = RandomSystem(N, 7);
    for (int m = 1; m <= k; ++m) system(m, k) = 0;
    Array2 expectedA = system;
    Array1 unused(static_cast<std::size_t>(N));
    EXPECT_FALSE(LiteralGauss(N, expectedA, unused));
    for (const int threads : {1, 2}) {
      SCOPED_TRACE(::testing::Message() << "zero at " << k << ", " << threads << " threads");
      omp_set_num_threads(threads);
      Array2 A = system;
      Array1 X(static_cast<std::size_t>(N));
      X(1) = 42;
      EXPECT_EQ(GaussSolve(N, A, X), k);
      EXPECT_TRUE(SameBits(A, expectedA));
      EXPECT_EQ(X(1), 42);
    }
  }
  omp_set_num_threads(omp_get_num_procs());
}

}  // namespace
}  // namespace tarvenol
