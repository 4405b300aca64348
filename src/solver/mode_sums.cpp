#include "solver/mode_sums.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "solver/coefficient_rows.h"
#include "solver/ring_far_field.h"

namespace tarvenol {
namespace {

// Kernel calls of the coefficient stage without its far field (NI^2 (NJ/2 + 1)) below which
// its rings run on one thread: at 100 x 16 panels, 90 000 of them, waking the other threads for
// each of the few ms of a solve costs more than it saves on a busy machine.
constexpr double kParallelKernelCalls = 2e5;

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

double Sum(const std::vector<double>& weights, const double* values) {
  double sum = 0;
  for (std::size_t d = 0; d < weights.size(); ++d) sum = sum + weights[d] * values[d];
  return sum;
}

// Columns first..last of row i of the mode sums from one row of coefficients, which holds
// ring i's panel of column 1 against the source panels (i', 1 + d), d = 0..NJ/2, ring by ring.
void AddRings(ModeMatrices& M, const ModeWeights& w, int i, int first, int last, const double* vn,
              const double* vu, const double* vv, const double* vp) {
  const std::size_t half = w.once.size();
  for (int i2 = first; i2 <= last; ++i2) {
    const std::size_t at = 1 + static_cast<std::size_t>(i2 - 1) * half;
    if (!M.N0.Empty()) {
      M.N0(i, i2) = Sum(w.once, vn + at);
      M.N1(i, i2) = Sum(w.cosine, vn + at);
      M.T0(i, i2) = Sum(w.once, vu + at);
      M.T1(i, i2) = Sum(w.cosine, vu + at);
      M.C1(i, i2) = Sum(w.sine, vv + at);
    }
    if (!M.P1.Empty()) M.P1(i, i2) = Sum(w.cosine, vp + at);
  }
}

// Far ring k's sums in row i.
void SetFarRing(ModeMatrices& M, const RingFarField& far, const RingFieldPoint& p, int i, int k,
                const RingRule& rule, bool& finite) {
  if (M.N0.Empty()) {
    M.P1(i, k) = far.PotentialOf(p, k, rule);
    finite = finite && std::isfinite(M.P1(i, k));
    return;
  }
  const RingSums r = far.SumsOf(p, k, rule, !M.P1.Empty());
  finite = finite && std::isfinite(r.n0) && std::isfinite(r.n1) && std::isfinite(r.t0) &&
           std::isfinite(r.t1) && std::isfinite(r.c1) && std::isfinite(r.p1);
  M.N0(i, k) = r.n0;
  M.N1(i, k) = r.n1;
  M.T0(i, k) = r.t0;
  M.T1(i, k) = r.t1;
  M.C1(i, k) = r.c1;
  if (!M.P1.Empty()) M.P1(i, k) = r.p1;
}

bool AllFinite(const double* a, std::size_t n) {
  bool finite = true;
  for (std::size_t k = 0; k < n; ++k) finite = finite && std::isfinite(a[k]);
  return finite;
}

// The last ring of the run of near rings from first on.
int NearRunEnd(const RingRule* rule, int first, int ni) {
  int last = first;
  while (last < ni && !rule[last + 1].Far()) ++last;
  return last;
}

}  // namespace

std::vector<Column> ColumnAngles(const ModelState& s, int nj) {
  std::vector<Column> columns(static_cast<std::size_t>(nj) + 1);
  for (std::size_t j = 1; j < columns.size(); ++j) {
    const double r = std::hypot(s.yC(1, j), s.zC(1, j));
    columns[j] = {s.yC(1, j) / r, s.zC(1, j) / r};
  }
  return columns;
}

ModeAxes AxesOf(const ModelState& s, int i, int j, const Column& phi) {
  return {-phi.s, phi.c, -phi.s * s.ZtaZ(i, j) - phi.c * s.ZtaY(i, j), phi.c * s.ZtaX(i, j),
          phi.s * s.ZtaX(i, j)};
}

int GatherModeSums(const ModelState& s, ModeMatrices& M, const std::vector<Column>& phi,
                   double farTolerance, VectorPath path, Progress& progress) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int half = HalfColumns(nj);
  const SourcePanels panels(s, half);
  const ModeWeights weights = WeightsOf(s, nj);
  const RowRangeFunction row = RowRangeFor(path);
  const RingFarField far(s, phi[1].c, phi[1].s, farTolerance, path);
  const KernelConstants c{s.PI, s.TwoPI, s.FourPI};
  std::atomic<int> ringsDone = 0;
  std::atomic<bool> stop = false;
  std::atomic<int> firstNonFinite = ni + 1;
  // A row of each component and the rules of the rings for each thread, made here: a failure
  // to allocate inside the parallel region would end the program.
  const bool parallel = static_cast<double>(ni) * ni * half > kParallelKernelCalls;
  const int threads = parallel ? omp_get_max_threads() : 1;
  const auto length = static_cast<std::size_t>(panels.count) + 1;
  const auto rings = static_cast<std::size_t>(ni) + 1;
  const bool potentials = !M.P1.Empty();
  const std::size_t components = potentials ? 4 : 3;
  std::vector<double> rows(components * length * static_cast<std::size_t>(threads));
  std::vector<RingRule> rules(rings * static_cast<std::size_t>(threads));
  RowWorkAreas work(threads);
#pragma omp parallel num_threads(threads) if (parallel)
  {
    const auto thread = static_cast<std::size_t>(omp_get_thread_num());
    double* vn = &rows[components * length * thread];
    double* vu = vn + length;
    double* vv = vu + length;
    double* vp = potentials ? vv + length : nullptr;
    RingRule* rule = &rules[rings * thread];
#pragma omp for schedule(dynamic, 1)
    for (int i = 1; i <= ni; ++i) {
      if (stop.load(std::memory_order_relaxed)) continue;
      const ModeAxes a = AxesOf(s, i, 1, phi[1]);
      const FieldPanel field{s.xC(i, 1),   s.yC(i, 1),  s.zC(i, 1), a.tX, a.tY,
                             a.tZ,         0,           a.eY,       a.eZ, s.ZtaX(i, 1),
                             s.ZtaY(i, 1), s.ZtaZ(i, 1)};
      const RingFieldPoint p = far.FieldPointOf(s, i);
      for (int k = 1; k <= ni; ++k) rule[k] = far.RuleFor(p, k);
      bool finite = true;
      for (int k = 1; k <= ni; ++k) {
        if (rule[k].Far()) continue;
        const int last = NearRunEnd(rule, k, ni);
        const int begin = (k - 1) * half, end = last * half;
        row(panels, begin, end, field, c, work.Of(static_cast<int>(thread)), vn, vu, vv, vp);
        const auto n = static_cast<std::size_t>(end - begin);
        finite = finite && AllFinite(vn + 1 + begin, n) && AllFinite(vu + 1 + begin, n) &&
                 AllFinite(vv + 1 + begin, n) && (!potentials || AllFinite(vp + 1 + begin, n));
        AddRings(M, weights, i, k, last, vn, vu, vv, vp);
        k = last;
      }
      ClearUpperHalves();
      for (int k = 1; k <= ni; ++k) {
        if (rule[k].Far()) SetFarRing(M, far, p, i, k, rule[k], finite);
      }
      if (!finite) {
        int first = firstNonFinite.load(std::memory_order_relaxed);
        while (i < first && !firstNonFinite.compare_exchange_weak(first, i)) {
        }
      }
      const int done = ringsDone.fetch_add(1, std::memory_order_relaxed) + 1;
      if (thread == 0 && !progress.Advance(Stage::Coefficients, static_cast<double>(done) / ni)) {
        stop.store(true, std::memory_order_relaxed);
      }
    }
  }
  if (stop) throw Cancelled();
  return firstNonFinite > ni ? 0 : firstNonFinite.load();
}

ModeSumsWork CountModeSumsWork(const ModelState& s, double farTolerance, int rows) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  // Without panels, or with too few around for a far field, every ring is near.
  if (ni < 1 || nj < 3 || s.yC.Empty() || s.yC.Limit(1) < static_cast<std::size_t>(nj)) {
    return {static_cast<double>(ni) * ni * HalfColumns(std::max(nj, 0)), 0};
  }
  const std::vector<Column> phi = ColumnAngles(s, nj);
  const RingFarField far(s, phi[1].c, phi[1].s, farTolerance);
  const int counted = std::min(ni, std::max(rows, 1));
  ModeSumsWork work;
  for (int n = 0; n < counted; ++n) {
    const int i = 1 + static_cast<int>(static_cast<long long>(n) * ni / counted);
    const RingFieldPoint p = far.FieldPointOf(s, i);
    for (int k = 1; k <= ni; ++k) {
      const RingRule rule = far.RuleFor(p, k);
      if (rule.Far()) {
        work.farPoints += RingFarField::PointsOf(rule);
      } else {
        work.kernelCalls += HalfColumns(nj);
      }
    }
  }
  const double scale = static_cast<double>(ni) / counted;
  return {work.kernelCalls * scale, work.farPoints * scale};
}

}  // namespace tarvenol
