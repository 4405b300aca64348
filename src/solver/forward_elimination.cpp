#include "solver/forward_elimination.h"

#include <omp.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "solver/vector_path.h"

namespace tarvenol {
namespace {

// Pivots applied to a row while it stays in cache; their quotient rows, over kChunk
// columns, stay in the second-level cache while every row below takes them.
constexpr int kBlock = 64;
constexpr int kChunk = 512;
// Columns of one register tile.
constexpr int kTile = 8;
// The most rows that share each load of the quotients, on any vector path.
constexpr int kMaxRows = 12;
// The most lanes of a vector, on any vector path.
constexpr int kMaxLanes = 8;

// Quotient rows A(k, j) / A(k, k) of the pivots k0 + t of one block, packed tile by tile so
// that the kernel reads them in sequence: (t, j) lies at ((j / 8) * kBlock + t) * 8 + j % 8.
class Quotients {
 public:
  // For columns 0..end-1.
  explicit Quotients(int end) : data_(static_cast<std::size_t>(end / kTile + 1) * kBlock * kTile) {}
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
// in order, A(r, j) = A(r, j) - f[r][t] * q(t, j), a tile of columns at a time in vectors V.
template <class V, std::size_t R>
[[gnu::always_inline]] inline void ApplyPivots(double* const* row, const double* const* f,
                                               const Quotients& q, int count, int from, int to) {
  constexpr std::size_t kLanes = sizeof(V) / sizeof(double);
  constexpr std::size_t kPerTile = kTile / kLanes;
  const auto plain = [&](int j) {
    for (std::size_t r = 0; r < R; ++r) {
      double a = row[r][j];
      for (int t = 0; t < count; ++t) a = a - f[r][t] * q(t, j);
      row[r][j] = a;
    }
  };
  int j = from;
  for (; j < to && j % kTile != 0; ++j) plain(j);
  // Every load and store moves one whole vector, so that each is one instruction.
  for (; j + kTile <= to; j += kTile) {
    V acc[R][kPerTile];
    for (std::size_t r = 0; r < R; ++r) {
      for (std::size_t v = 0; v < kPerTile; ++v) {
        std::memcpy(&acc[r][v], row[r] + j + v * kLanes, sizeof(V));
      }
    }
    const double* tile = q.Tile(j / kTile);
    for (int t = 0; t < count; ++t, tile += kTile) {
      V qt[kPerTile];
      for (std::size_t v = 0; v < kPerTile; ++v) {
        std::memcpy(&qt[v], tile + v * kLanes, sizeof(V));
      }
      for (std::size_t r = 0; r < R; ++r) {
        const double fr = f[r][t];
        for (std::size_t v = 0; v < kPerTile; ++v) acc[r][v] = acc[r][v] - fr * qt[v];
      }
    }
    for (std::size_t r = 0; r < R; ++r) {
      for (std::size_t v = 0; v < kPerTile; ++v) {
        std::memcpy(row[r] + j + v * kLanes, &acc[r][v], sizeof(V));
      }
    }
  }
  for (; j < to; ++j) plain(j);
}

// The pivots t = 0..count-1 on the block's own columns k0..last of one row, leaving in f[t]
// the row's element in column k0 + t as it stood before pivot t. Pivot t starts at column
// k0 + t; within a tile its quotients lie side by side.
[[gnu::always_inline]] inline void ApplyPivotsInBlock(double* row, double* f, const Quotients& q,
                                                      int k0, int count, int last) {
  for (int t = 0; t < count; ++t) {
    const double ft = row[k0 + t];
    f[t] = ft;
    for (int j = k0 + t; j <= last;) {
      const int base = j - j % kTile;
      const int end = std::min(last + 1, base + kTile);
      const double* qt = q.Tile(base / kTile) + t * kTile;
      for (; j < end; ++j) row[j] = row[j] - ft * qt[j - base];
    }
  }
}

// The same for the rows row[0..L-1] below the block at once, one row in each lane of vectors V:
// the block's columns of the rows, turned so that a vector holds one column of them, take the
// pivots without a chain from one pivot to the next within a row.
template <class V>
[[gnu::always_inline]] inline void ApplyPivotsInBlockToRows(double* const* row, double* const* f,
                                                            const Quotients& q, int k0, int count) {
  constexpr std::size_t kLanes = sizeof(V) / sizeof(double);
  V column[kBlock], multiplier[kBlock];
  for (int c = 0; c < count; ++c) {
    for (std::size_t l = 0; l < kLanes; ++l) column[c][l] = row[l][k0 + c];
  }
  for (int t = 0; t < count; ++t) {
    const V ft = column[t];
    multiplier[t] = ft;
    for (int c = t; c < count; ++c) column[c] = column[c] - ft * q(t, k0 + c);
  }
  for (int c = 0; c < count; ++c) {
    for (std::size_t l = 0; l < kLanes; ++l) row[l][k0 + c] = column[c][l];
  }
  for (int t = 0; t < count; ++t) {
    for (std::size_t l = 0; l < kLanes; ++l) f[l][t] = multiplier[t][l];
  }
}

using PivotsFunction = void (*)(double* const* row, const double* const* f, const Quotients& q,
                                int count, int from, int to);
using InBlockFunction = void (*)(double* row, double* f, const Quotients& q, int k0, int count,
                                 int last);
using InBlockRowsFunction = void (*)(double* const* row, double* const* f, const Quotients& q,
                                     int k0, int count);

// The kernels of one vector path: the rows that share each load of the quotients, as many as
// its registers hold, the functions for that many rows and for one, and the block's own columns.
struct PivotKernels {
  int rows;
  PivotsFunction many;
  PivotsFunction one;
  InBlockFunction inBlock;
  // Rows below the block, `lanes` of them at a time.
  int lanes;
  InBlockRowsFunction inBlockRows;
};

using Vec2 = double __attribute__((vector_size(16)));

template <std::size_t R>
void PlainPivots(double* const* row, const double* const* f, const Quotients& q, int count,
                 int from, int to) {
  ApplyPivots<Vec2, R>(row, f, q, count, from, to);
}
void PlainInBlock(double* row, double* f, const Quotients& q, int k0, int count, int last) {
  ApplyPivotsInBlock(row, f, q, k0, count, last);
}
void PlainInBlockRows(double* const* row, double* const* f, const Quotients& q, int k0, int count) {
  ApplyPivotsInBlockToRows<Vec2>(row, f, q, k0, count);
}

using Vec4 = double __attribute__((vector_size(32)));
using Vec8 = double __attribute__((vector_size(64)));

template <std::size_t R>
TARVENOL_AVX2 void Avx2Pivots(double* const* row, const double* const* f, const Quotients& q,
                              int count, int from, int to) {
  ApplyPivots<Vec4, R>(row, f, q, count, from, to);
}
TARVENOL_AVX2 void Avx2InBlock(double* row, double* f, const Quotients& q, int k0, int count,
                               int last) {
  ApplyPivotsInBlock(row, f, q, k0, count, last);
}
TARVENOL_AVX2 void Avx2InBlockRows(double* const* row, double* const* f, const Quotients& q, int k0,
                                   int count) {
  ApplyPivotsInBlockToRows<Vec4>(row, f, q, k0, count);
}

template <std::size_t R>
TARVENOL_AVX512 void Avx512Pivots(double* const* row, const double* const* f, const Quotients& q,
                                  int count, int from, int to) {
  ApplyPivots<Vec8, R>(row, f, q, count, from, to);
}
TARVENOL_AVX512 void Avx512InBlock(double* row, double* f, const Quotients& q, int k0, int count,
                                   int last) {
  ApplyPivotsInBlock(row, f, q, k0, count, last);
}
TARVENOL_AVX512 void Avx512InBlockRows(double* const* row, double* const* f, const Quotients& q,
                                       int k0, int count) {
  ApplyPivotsInBlockToRows<Vec8>(row, f, q, k0, count);
}

PivotKernels KernelsFor(VectorPath path) {
  return OnVectorPath(
      path, PivotKernels{3, PlainPivots<3>, PlainPivots<1>, PlainInBlock, 2, PlainInBlockRows},
      PivotKernels{6, Avx2Pivots<6>, Avx2Pivots<1>, Avx2InBlock, 4, Avx2InBlockRows},
      PivotKernels{kMaxRows, Avx512Pivots<kMaxRows>, Avx512Pivots<1>, Avx512InBlock, 8,
                   Avx512InBlockRows});
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
  Elimination(Array2& A, int N, int rightHandSides, Progress& progress, VectorPath path)
      : kernels_(KernelsFor(path)),
        progress_(progress),
        N_(N),
        end_(N + 1 + rightHandSides),
        stride_(static_cast<std::ptrdiff_t>(A.Limit(1)) + 1),
        a_(A.Row(0)),
        q_(end_),
        f_(static_cast<std::size_t>(N + 1) * kBlock) {}

  int Run() {
#pragma omp parallel if (N_ > 2 * kBlock)
    {
      ClearUpperHalves();
      // Each thread keeps its own copy of the outcome: the shared one is set again for the
      // next block while a slower thread may still be reading it.
      bool zero = false;
      for (int k0 = 1; k0 < N_ && !zero; k0 += kBlock) {
        const int k1 = std::min(k0 + kBlock, N_);
#pragma omp single
        pivotRows_ = PivotRowsInBlock(k0, k1);
        const int rows = pivotRows_;
        zero = zeroAt_ != 0;
        // A zero diagonal stops the block at row k0 + rows, which still takes the pivots before.
        PivotRowsBeyondBlock(k0, k1, zero ? rows + 1 : rows, rows);
#pragma omp barrier
        Trailing(k0, rows, zero ? k0 + rows + 1 : k1);
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

  // The block's own columns k0..k1-1 of its pivot rows, one row after the other, with their
  // quotients and each row's multipliers; one thread. Returns the number of pivot rows made
  // before a zero diagonal element, whose row is then zeroAt_.
  int PivotRowsInBlock(int k0, int k1) {
    for (int k = k0; k < k1; ++k) {
      double* row = Row(k);
      const int count = k - k0;
      kernels_.inBlock(row, F(k), q_, k0, count, k1 - 1);
      if (row[k] == 0) {
        zeroAt_ = k;
        return count;
      }
      const double pivot = row[k];
      q_(count, k) = row[k] / row[k];
      for (int j = k + 1; j < k1; ++j) q_(count, j) = row[j] / pivot;
    }
    return k1 - k0;
  }

  // Rows k0..k0+count-1 on the columns from k1 on, each thread on its own part of them, which
  // needs only its own quotients: no thread waits for another between rows. The first `pivots`
  // rows also leave their quotients. Called by every thread.
  void PivotRowsBeyondBlock(int k0, int k1, int count, int pivots) {
    int first = 0, last = 0;
    ThreadColumns(k1, end_, first, last);
    for (int t = 0; t < count; ++t) {
      double* row = Row(k0 + t);
      const double* f = F(k0 + t);
      kernels_.one(&row, &f, q_, t, first, last);
      if (t < pivots) {
        const double pivot = row[k0 + t];
        for (int j = first; j < last; ++j) q_(t, j) = row[j] / pivot;
      }
    }
  }

  // Rows r0..N take the block's pivots t = 0..count-1. Called by every thread.
  void Trailing(int k0, int count, int r0) {
    if (count == 0 || r0 > N_) return;
    const int kEnd = k0 + count;
    const int lanes = kernels_.lanes;
    const int laneGroups = (N_ - r0 + 1) / lanes;
#pragma omp for schedule(static)
    for (int g = 0; g <= laneGroups; ++g) {
      const int i0 = r0 + g * lanes;
      if (g < laneGroups) {
        double* row[kMaxLanes];
        double* f[kMaxLanes];
        for (int l = 0; l < lanes; ++l) {
          row[l] = Row(i0 + l);
          f[l] = F(i0 + l);
        }
        kernels_.inBlockRows(row, f, q_, k0, count);
      } else {
        for (int i = i0; i <= N_; ++i) kernels_.inBlock(Row(i), F(i), q_, k0, count, kEnd - 1);
      }
    }

    const int rows = kernels_.rows;
    const int groups = (N_ - r0 + rows) / rows;
    for (int from = kEnd, to = 0; from < end_; from = to) {
      to = std::min(from + kChunk - from % kTile, end_);
#pragma omp for schedule(static) nowait
      for (int g = 0; g < groups; ++g) {
        const int i0 = r0 + g * rows;
        if (i0 + rows - 1 <= N_) {
          double* row[kMaxRows];
          const double* f[kMaxRows];
          for (int r = 0; r < rows; ++r) {
            row[r] = Row(i0 + r);
            f[r] = F(i0 + r);
          }
          kernels_.many(row, f, q_, count, from, to);
        } else {
          for (int i = i0; i <= N_; ++i) {
            double* one = Row(i);
            const double* f = F(i);
            kernels_.one(&one, &f, q_, count, from, to);
          }
        }
      }
    }
  }

  const PivotKernels kernels_;
  Progress& progress_;
  bool stop_ = false;
  int N_;
  int end_;  // one past the last right-hand side's column
  std::ptrdiff_t stride_;
  double* a_;
  Quotients q_;
  std::vector<double> f_;  // each row's multipliers of the current block
  int pivotRows_ = 0;      // of the current block
  int zeroAt_ = 0;
};

}  // namespace

int EliminateForward(Array2& A, int N, int rightHandSides, Progress& progress, VectorPath path) {
  if (N < 2) return 0;
  return Elimination(A, N, rightHandSides, progress, path).Run();
}

}  // namespace tarvenol
