#include "solver/forward_elimination.h"

#include <omp.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace tarvenol {
namespace {

// Pivots applied to a row while it stays in cache; their quotient rows, over kChunk
// columns, stay in the second-level cache while every row below takes them.
constexpr int kBlock = 64;
constexpr int kChunk = 512;
// Rows that share each load of the quotients, and columns of one register tile.
constexpr std::size_t kRows = 6;
constexpr int kTile = 8;

using Vec4 = double __attribute__((vector_size(32)));

inline Vec4 Load(const double* p) {
  Vec4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void Store(double* p, Vec4 v) {
  std::memcpy(p, &v, sizeof v);
}

// Quotient rows A(k, j) / A(k, k) of the pivots k0 + t of one block, packed tile by tile so
// that the kernel reads them in sequence: (t, j) lies at ((j / 8) * kBlock + t) * 8 + j % 8.
class Quotients {
 public:
  explicit Quotients(int N)
      : data_(static_cast<std::size_t>((N + 2) / kTile + 1) * kBlock * kTile) {}
  double& operator()(int t, int j) { return data_[Index(t, j)]; }
  double operator()(int t, int j) const { return data_[Index(t, j)]; }
  const double* Tile(int g) const {
    return data_.data() + static_cast<std::size_t>(g) * kBlock * kTile;
  }

 private:
  static std::size_t Index(int t, int j) {
    return (static_cast<std::size_t>(j / kTile) * kBlock + static_cast<std::size_t>(t)) * kTile +
           static_cast<std::size_t>(j % kTile);
  }
  std::vector<double> data_;
};

// Rows row[0..R-1], columns [from, to): every element takes the block's pivots t = 0..count-1
// in order, A(r, j) = A(r, j) - f[r][t] * q(t, j).
template <std::size_t R>
void ApplyPivots(double* const* row, const double* const* f, const Quotients& q, int count,
                 int from, int to) {
  const auto plain = [&](int j) {
    for (std::size_t r = 0; r < R; ++r) {
      double a = row[r][j];
      for (int t = 0; t < count; ++t) a = a - f[r][t] * q(t, j);
      row[r][j] = a;
    }
  };
  int j = from;
  for (; j < to && j % kTile != 0; ++j) plain(j);
  for (; j + kTile <= to; j += kTile) {
    Vec4 acc[R][2];
    for (std::size_t r = 0; r < R; ++r) {
      acc[r][0] = Load(row[r] + j);
      acc[r][1] = Load(row[r] + j + 4);
    }
    const double* tile = q.Tile(j / kTile);
    for (int t = 0; t < count; ++t, tile += kTile) {
      const Vec4 q0 = Load(tile);
      const Vec4 q1 = Load(tile + 4);
      for (std::size_t r = 0; r < R; ++r) {
        const double fr = f[r][t];
        acc[r][0] = acc[r][0] - fr * q0;
        acc[r][1] = acc[r][1] - fr * q1;
      }
    }
    for (std::size_t r = 0; r < R; ++r) {
      Store(row[r] + j, acc[r][0]);
      Store(row[r] + j + 4, acc[r][1]);
    }
  }
  for (; j < to; ++j) plain(j);
}

// The pivots t = 0..count-1 on the block's own columns k0..last of one row, leaving in f[t]
// the row's element in column k0 + t as it stood before pivot t.
void ApplyPivotsInBlock(double* row, double* f, const Quotients& q, int k0, int count, int last) {
  for (int t = 0; t < count; ++t) {
    const double ft = row[k0 + t];
    f[t] = ft;
    for (int j = k0 + t; j <= last; ++j) row[j] = row[j] - ft * q(t, j);
  }
}

// This thread's part of the columns [from, to), cut at tile boundaries.
void ThreadColumns(int from, int to, int& first, int& last) {
  const int threads = omp_get_num_threads();
  const int thread = omp_get_thread_num();
  const int base = from - from % kTile;
  const int tiles = (to - base + kTile - 1) / kTile;
  const int per = (tiles + threads - 1) / threads;
  first = std::clamp(base + thread * per * kTile, from, to);
  last = std::min(to, base + (thread + 1) * per * kTile);
}

class Elimination {
 public:
  Elimination(Array2& A, int N, Progress& progress)
      : progress_(progress),
        N_(N),
        stride_(static_cast<std::ptrdiff_t>(N) + 2),
        a_(A.Row(0)),
        q_(N),
        f_(static_cast<std::size_t>(N + 1) * kBlock) {}

  int Run() {
#pragma omp parallel if (N_ > 2 * kBlock)
    {
      // Each thread keeps its own copy of the outcome: the shared one may already be set for
      // the next row while a slower thread still looks at this one.
      bool zero = false;
      for (int k0 = 1; k0 < N_ && !zero; k0 += kBlock) {
        const int k1 = std::min(k0 + kBlock, N_);
        int k = k0;
        while (k < k1 && !zero) {
          zero = !PivotRow(k0, k);
          if (!zero) ++k;
        }
        // Pivot rows k0..k-1 are done; a zero diagonal at k still owes them to the rows below.
        Trailing(k0, k - k0, zero ? k + 1 : k1);
#pragma omp barrier
#pragma omp master
        {
          // The work left after row k1 goes with the cube of the rows left.
          const double left = static_cast<double>(N_ - k1) / N_;
          stop_ = !progress_.Advance(Stage::Elimination, 1 - left * left * left);
        }
#pragma omp barrier
        if (stop_) break;
      }
    }
    if (stop_) throw Cancelled();
    return zeroAt_;
  }

 private:
  double* Row(int i) const {
    return a_ + i * stride_;
  }
  double* F(int i) {
    return f_.data() + static_cast<std::size_t>(i) * kBlock;
  }

  // Brings row k up to date with the block's earlier pivots and, unless its diagonal element
  // is 0, makes it the next pivot row. Called by every thread; false for a zero.
  bool PivotRow(int k0, int k) {
    double* row = Row(k);
    const int count = k - k0;
#pragma omp single
    {
      ApplyPivotsInBlock(row, pivotF_, q_, k0, count, k);
      if (row[k] == 0) {
        zeroAt_ = k;
      } else {
        q_(count, k) = row[k] / row[k];
      }
    }
    int first = 0, last = 0;
    ThreadColumns(k + 1, N_ + 2, first, last);
    const double* f = pivotF_;
    ApplyPivots<1>(&row, &f, q_, count, first, last);
    const bool nonZero = zeroAt_ == 0;
    if (nonZero) {
      const double pivot = row[k];
      for (int j = first; j < last; ++j) q_(count, j) = row[j] / pivot;
    }
#pragma omp barrier
    return nonZero;
  }

  // Rows r0..N take the block's pivots t = 0..count-1. Called by every thread.
  void Trailing(int k0, int count, int r0) {
    if (count == 0 || r0 > N_) return;
    const int kEnd = k0 + count;
#pragma omp for schedule(static)
    for (int i = r0; i <= N_; ++i) ApplyPivotsInBlock(Row(i), F(i), q_, k0, count, kEnd - 1);

    const int groups = (N_ - r0 + static_cast<int>(kRows)) / static_cast<int>(kRows);
    for (int from = kEnd, to = 0; from < N_ + 2; from = to) {
      to = std::min(from + kChunk - from % kTile, N_ + 2);
#pragma omp for schedule(static) nowait
      for (int g = 0; g < groups; ++g) {
        const int i0 = r0 + g * static_cast<int>(kRows);
        if (i0 + static_cast<int>(kRows) - 1 <= N_) {
          double* rows[kRows];
          const double* f[kRows];
          for (std::size_t r = 0; r < kRows; ++r) {
            rows[r] = Row(i0 + static_cast<int>(r));
            f[r] = F(i0 + static_cast<int>(r));
          }
          ApplyPivots<kRows>(rows, f, q_, count, from, to);
        } else {
          for (int i = i0; i <= N_; ++i) {
            double* row = Row(i);
            const double* f = F(i);
            ApplyPivots<1>(&row, &f, q_, count, from, to);
          }
        }
      }
    }
  }

  Progress& progress_;
  bool stop_ = false;
  int N_;
  std::ptrdiff_t stride_;
  double* a_;
  Quotients q_;
  std::vector<double> f_;  // each row's multipliers of the current block
  double pivotF_[kBlock] = {};
  int zeroAt_ = 0;
};

}  // namespace

int EliminateForward(Array2& A, int N, Progress& progress) {
  if (N < 2) return 0;
  return Elimination(A, N, progress).Run();
}

}  // namespace tarvenol
