#include "solver/symmetric_solve.h"

#include <omp.h>

#include <atomic>
#include <climits>
#include <cmath>
#include <span>
#include <string>

#include "core/memory.h"
#include "core/program_error.h"
#include "solver/coefficient_rows.h"
#include "solver/gauss_solve.h"

namespace tarvenol {
namespace {

// Panels times flows below which a loop over the panels runs on one thread: waking the others
// would cost more than it saves.
constexpr double kParallelPanels = 1e5;

// As in HessSolve: panel numbers are ints, and one elimination carries at most four flows.
constexpr double kMaxPanels = INT_MAX - 8;
constexpr std::size_t kMaxFlows = 4;

// Source columns d = 0..NJ/2 of each ring: the other half are their mirror images.
int HalfColumns(int nj) {
  return nj / 2 + 1;
}

// cos and sin of phi_j, the angle of the meridian plane through the middle of column j.
struct Column {
  double c = 1, s = 0;
};

// From the control points of the first ring, which lie in those planes.
std::vector<Column> ColumnAngles(const ModelState& s, int nj) {
  std::vector<Column> columns(static_cast<std::size_t>(nj) + 1);
  for (int j = 1; j <= nj; ++j) {
    const double r = std::hypot(s.yC(1, j), s.zC(1, j));
    columns[static_cast<std::size_t>(j)] = {s.yC(1, j) / r, s.zC(1, j) / r};
  }
  return columns;
}

// The axes of panel (i, j) that the modes are resolved along: e, the circumferential
// direction of column j, and t = e x Zta, the meridional tangent.
struct ModeAxes {
  double eY, eZ;  // e has no x part
  double tX, tY, tZ;
};

ModeAxes AxesOf(const ModelState& s, int i, int j, const Column& phi) {
  return {-phi.s, phi.c, -phi.s * s.ZtaZ(i, j) - phi.c * s.ZtaY(i, j), phi.c * s.ZtaX(i, j),
          phi.s * s.ZtaX(i, j)};
}

// The weights of the evaluated columns d = 0..NJ/2 in the mode sums: each mirror pair counts
// twice, d = 0 and, for an even NJ, d = NJ/2 once; cos and sin of d dPhi for the mode m = 1.
struct ModeWeights {
  std::vector<double> once, cosine, sine;
};

ModeWeights WeightsOf(const ModelState& s, int nj) {
  const int half = HalfColumns(nj);
  ModeWeights w;
  for (int d = 0; d < half; ++d) {
    const double pairs = d == 0 || 2 * d == nj ? 1 : 2;
    const double angle = s.TwoPI / nj * d;
    w.once.push_back(pairs);
    w.cosine.push_back(pairs * std::cos(angle));
    w.sine.push_back(pairs * std::sin(angle));
  }
  return w;
}

// The five mode matrices, rows and columns 1..NI: the Zta sums of m = 0 and 1 followed by the
// right-hand sides (m = 0: one column per flow; m = 1: the cos parts, then the sin parts), and
// the t sums of m = 0 and 1 and the e sum of m = 1.
struct ModeMatrices {
  Array2 N0, N1, T0, T1, C1;
};

double Sum(const std::vector<double>& weights, const double* values) {
  double sum = 0;
  for (std::size_t d = 0; d < weights.size(); ++d) sum = sum + weights[d] * values[d];
  return sum;
}

// Row i of the mode sums from one row of coefficients, which holds ring i's panel of column 1
// against the source panels (i', 1 + d), d = 0..NJ/2, ring by ring.
void AddRing(ModeMatrices& M, const ModeWeights& w, int i, int ni, const double* vn,
             const double* vu, const double* vv) {
  const auto row = static_cast<std::size_t>(i);
  const std::size_t half = w.once.size();
  for (int i2 = 1; i2 <= ni; ++i2) {
    const std::size_t at = 1 + static_cast<std::size_t>(i2 - 1) * half;
    const auto column = static_cast<std::size_t>(i2);
    M.N0(row, column) = Sum(w.once, vn + at);
    M.N1(row, column) = Sum(w.cosine, vn + at);
    M.T0(row, column) = Sum(w.once, vu + at);
    M.T1(row, column) = Sum(w.cosine, vu + at);
    M.C1(row, column) = Sum(w.sine, vv + at);
  }
}

bool AllFinite(const double* a, std::size_t n) {
  bool finite = true;
  for (std::size_t k = 0; k < n; ++k) finite = finite && std::isfinite(a[k]);
  return finite;
}

// Evaluates the rings' rows of coefficients in parallel and gathers the mode sums. Returns 0,
// or the first ring whose coefficients are not all finite. Throws Cancelled when asked.
int GatherModeSums(const ModelState& s, ModeMatrices& M, const std::vector<Column>& phi,
                   VectorPath path, Progress& progress) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const SourcePanels panels(s, HalfColumns(nj));
  const ModeWeights weights = WeightsOf(s, nj);
  const RowFunction row = RowFor(path);
  const KernelConstants c{s.PI, s.TwoPI, s.FourPI};
  std::atomic<int> ringsDone = 0;
  std::atomic<bool> stop = false;
  std::atomic<int> firstNonFinite = ni + 1;
  // A row of each component for each thread, made here: a failure to allocate inside the
  // parallel region would end the program.
  const auto length = static_cast<std::size_t>(panels.count) + 1;
  std::vector<double> rows(3 * length * static_cast<std::size_t>(omp_get_max_threads()));
  RowWorkAreas work(omp_get_max_threads());
#pragma omp parallel
  {
    double* vn = &rows[3 * length * static_cast<std::size_t>(omp_get_thread_num())];
    double* vu = vn + length;
    double* vv = vu + length;
#pragma omp for schedule(dynamic, 1)
    for (int i = 1; i <= ni; ++i) {
      if (stop.load(std::memory_order_relaxed)) continue;
      const ModeAxes a = AxesOf(s, i, 1, phi[1]);
      const FieldPanel field{s.xC(i, 1),   s.yC(i, 1),  s.zC(i, 1), a.tX, a.tY,
                             a.tZ,         0,           a.eY,       a.eZ, s.ZtaX(i, 1),
                             s.ZtaY(i, 1), s.ZtaZ(i, 1)};
      row(panels, field, c, work.Of(omp_get_thread_num()), vn, vu, vv);
      if (!AllFinite(vn, length) || !AllFinite(vu, length) || !AllFinite(vv, length)) {
        int first = firstNonFinite.load(std::memory_order_relaxed);
        while (i < first && !firstNonFinite.compare_exchange_weak(first, i)) {
        }
      }
      AddRing(M, weights, i, ni, vn, vu, vv);
      const int done = ringsDone.fetch_add(1, std::memory_order_relaxed) + 1;
      if (omp_get_thread_num() == 0 &&
          !progress.Advance(Stage::Coefficients, static_cast<double>(done) / ni)) {
        stop.store(true, std::memory_order_relaxed);
      }
    }
  }
  if (stop) throw Cancelled();
  return firstNonFinite > ni ? 0 : firstNonFinite.load();
}

// Each flow's right-hand sides -n . onset, ring by ring, split into the modes: the mean over
// the ring for m = 0, and 2/NJ times the sums with cos and sin of phi_j for m = 1, which for
// NJ >= 3 are exactly the amplitudes of a right-hand side that holds those modes only.
void RightHandSides(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                    const std::vector<Column>& phi, ModeMatrices& M) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int flows = static_cast<int>(onsets.size());
  const bool parallel = static_cast<double>(ni) * nj * flows > kParallelPanels;
#pragma omp parallel for schedule(static) if (parallel)
  for (int i = 1; i <= ni; ++i) {
    for (int f = 0; f < flows; ++f) {
      double mean = 0, cosine = 0, sine = 0;
      for (int j = 1; j <= nj; ++j) {
        const Vector3 V =
            OnsetVelocity(onsets[static_cast<std::size_t>(f)], s.xC(i, j), s.yC(i, j), s.zC(i, j));
        const double b = -(s.ZtaX(i, j) * V[0] + s.ZtaY(i, j) * V[1] + s.ZtaZ(i, j) * V[2]);
        mean = mean + b;
        cosine = cosine + b * phi[static_cast<std::size_t>(j)].c;
        sine = sine + b * phi[static_cast<std::size_t>(j)].s;
      }
      const auto row = static_cast<std::size_t>(i);
      M.N0(row, static_cast<std::size_t>(ni + 1 + f)) = mean / nj;
      M.N1(row, static_cast<std::size_t>(ni + 1 + f)) = 2 * cosine / nj;
      M.N1(row, static_cast<std::size_t>(ni + 1 + flows + f)) = 2 * sine / nj;
    }
  }
}

// M x for rows and columns 1..n.
Array1 Times(const Array2& M, const Array1& x, int n) {
  Array1 y(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    const double* row = M.Row(static_cast<std::size_t>(i));
    double sum = 0;
    for (int k = 1; k <= n; ++k) sum = sum + row[k] * x(static_cast<std::size_t>(k));
    y(static_cast<std::size_t>(i)) = sum;
  }
  return y;
}

// The mode amplitudes of one flow's source strengths: a0 of m = 0, a1 and b1 the cos and sin
// parts of m = 1.
struct FlowModes {
  Array1 a0, a1, b1;
};

// The velocity that one flow's sources induce along t and e at the panels of ring i:
// t = t0 + tCos cos(phi_j) + tSin sin(phi_j), e = eCos cos(phi_j) - eSin sin(phi_j).
struct RingVelocities {
  Array1 t0, tCos, tSin, eCos, eSin;
};

RingVelocities InducedByRing(const ModeMatrices& M, const FlowModes& x, int ni) {
  return {Times(M.T0, x.a0, ni), Times(M.T1, x.a1, ni), Times(M.T1, x.b1, ni),
          Times(M.C1, x.b1, ni), Times(M.C1, x.a1, ni)};
}

// Source strengths and tangential velocities of every panel in every flow, and 1 - Cp of the
// first.
void Expand(const ModelState& s, const ModeMatrices& M, const std::vector<Column>& phi,
            const std::vector<OnsetFlow>& onsets, const std::vector<FlowModes>& x,
            HessSolution& out) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  std::vector<RingVelocities> induced;
  for (const FlowModes& modes : x) induced.push_back(InducedByRing(M, modes, ni));
  for (std::size_t f = 0; f < onsets.size(); ++f) {
    out.flows.push_back({Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ)),
                         Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ)),
                         Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ))});
  }
  out.OneMinusCp = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  const bool parallel =
      static_cast<double>(ni) * nj * static_cast<double>(onsets.size()) > kParallelPanels;
#pragma omp parallel for schedule(static) if (parallel)
  for (int i = 1; i <= ni; ++i) {
    const auto r = static_cast<std::size_t>(i);
    for (int j = 1; j <= nj; ++j) {
      const auto c = static_cast<std::size_t>(j);
      const Column& p = phi[c];
      const ModeAxes a = AxesOf(s, i, j, p);
      // Unit t and e along the panel's Xsi and Ita.
      const double tXsi = a.tX * s.XsiX(i, j) + a.tY * s.XsiY(i, j) + a.tZ * s.XsiZ(i, j);
      const double eXsi = a.eY * s.XsiY(i, j) + a.eZ * s.XsiZ(i, j);
      const double tIta = a.tX * s.ItaX(i, j) + a.tY * s.ItaY(i, j) + a.tZ * s.ItaZ(i, j);
      const double eIta = a.eY * s.ItaY(i, j) + a.eZ * s.ItaZ(i, j);
      for (std::size_t f = 0; f < onsets.size(); ++f) {
        const RingVelocities& v = induced[f];
        const double t = v.t0(r) + v.tCos(r) * p.c + v.tSin(r) * p.s;
        const double e = v.eCos(r) * p.c - v.eSin(r) * p.s;
        const Vector3 V = OnsetVelocity(onsets[f], s.xC(i, j), s.yC(i, j), s.zC(i, j));
        const double ut =
            s.XsiX(i, j) * V[0] + s.XsiY(i, j) * V[1] + s.XsiZ(i, j) * V[2] + t * tXsi + e * eXsi;
        const double vt =
            s.ItaX(i, j) * V[0] + s.ItaY(i, j) * V[1] + s.ItaZ(i, j) * V[2] + t * tIta + e * eIta;
        FlowSolution& flow = out.flows[f];
        flow.Sigma(r, c) = x[f].a0(r) + x[f].a1(r) * p.c + x[f].b1(r) * p.s;
        flow.Ut(r, c) = ut;
        flow.Vt(r, c) = vt;
        if (f == 0) out.OneMinusCp(r, c) = ut * ut + vt * vt;
      }
    }
  }
}

}  // namespace

void RequireSymmetricSolveMemory(double ni, double nj, int flows) {
  const double panels = ni * nj;
  const std::string count = std::to_string(static_cast<long long>(panels));
  RequireMemory(SymmetricSolveBytes(ni, nj, flows, omp_get_max_threads()),
                "Hess's panel method by the body's symmetry for " + count + " panels");
  if (panels > kMaxPanels) {
    throw ProgramError("Hess's panel method takes at most " +
                       std::to_string(static_cast<long long>(kMaxPanels)) + " panels, not " +
                       count + ".");
  }
}

double SymmetricSolveEvaluations(double ni, double nj) {
  return ni * ni * (std::floor(nj / 2) + 1);
}

double SymmetricSolveBytes(double ni, double nj, int flows, int threads) {
  const double sources = ni * (std::floor(nj / 2) + 1);
  const double sourceArrays = 13 + 5 * 4;  // SourcePanels
  const double rows = ni + 1;
  const double modes = rows * (rows + flows) + rows * (rows + 2.0 * flows) + 3 * rows * rows;
  const double solution = (3.0 * flows + 1) * (ni + 1) * (nj + 1);
  return (sourceArrays * (sources + kLanes) + 3 * threads * (sources + 1) + modes + solution) *
         static_cast<double>(sizeof(double));
}

HessSolution SymmetricSolve(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                            Progress& progress, VectorPath path) {
  if (onsets.empty() || onsets.size() > kMaxFlows) {
    throw ProgramError("Hess's panel method takes one to four onset flows at a time.");
  }
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int flows = static_cast<int>(onsets.size());
  RequireSymmetricSolveMemory(ni, nj, flows);
  const std::vector<Column> phi = ColumnAngles(s, nj);
  const auto rows = static_cast<std::size_t>(ni);
  ModeMatrices M{Array2(rows, rows + onsets.size()), Array2(rows, rows + 2 * onsets.size()),
                 Array2(rows, rows), Array2(rows, rows), Array2(rows, rows)};

  HessSolution solution;
  solution.onsets = onsets;
  Step(progress, Stage::Coefficients, 0);
  if (const int ring = GatherModeSums(s, M, phi, path, progress); ring != 0) {
    solution.nonFinitePanel = (ring - 1) * nj + 1;
    return solution;
  }
  RightHandSides(s, onsets, phi, M);

  Step(progress, Stage::Elimination, 0);
  // The mode matrices N0 and N1 are eliminated in place; T0, T1 and C1 are kept for the
  // surface velocities.
  std::vector<FlowModes> x(onsets.size());
  std::vector<Array1> m0(onsets.size(), Array1(rows)), m1(2 * onsets.size(), Array1(rows));
  PartProgress first(progress, 0, 0.5), second(progress, 0.5, 1);
  int zeroAt = GaussSolve(ni, M.N0, std::span<Array1>(m0), first, path);
  if (zeroAt == 0) zeroAt = GaussSolve(ni, M.N1, std::span<Array1>(m1), second, path);
  if (zeroAt != 0) {
    // As after a zero pivot of the full elimination: no source strengths at all.
    solution.zeroPivotRow = (zeroAt - 1) * nj + 1;
    for (Array1& a : m0) a = Array1(rows);
    for (Array1& a : m1) a = Array1(rows);
  }
  for (std::size_t f = 0; f < onsets.size(); ++f) {
    x[f] = {std::move(m0[f]), std::move(m1[f]), std::move(m1[onsets.size() + f])};
  }

  Step(progress, Stage::SurfaceVelocity, 0);
  Expand(s, M, phi, onsets, x, solution);
  Step(progress, Stage::SurfaceVelocity, 1);
  solution.nonFinitePanel = FirstNonFinitePanel(solution, ni, nj);
  return solution;
}

}  // namespace tarvenol
