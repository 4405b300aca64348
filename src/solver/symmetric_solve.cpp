#include "solver/symmetric_solve.h"

#include <omp.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "core/memory.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "geometry/profile_checks.h"
#include "solver/coefficient_rows.h"
#include "solver/gauss_solve.h"
#include "solver/mode_sums.h"
#include "solver/ring_far_field.h"

namespace tarvenol {
namespace {

// Panels times flows below which a loop over the panels runs on one thread: waking the others
// would cost more than it saves.
constexpr double kParallelPanels = 1e5;

// As in HessSolve: panel numbers are ints, and one elimination carries at most four flows.
constexpr double kMaxPanels = INT_MAX - 8;
constexpr std::size_t kMaxFlows = 4;

// Rows on which the work of the coefficient stage is counted for an estimate.
constexpr int kCountedRows = 64;

// Each flow's right-hand sides -n . onset, ring by ring, split into the modes: the mean over
// the ring for m = 0, and 2/NJ times the sums with cos and sin of phi_j for m = 1, which for
// NJ >= 3 are exactly the amplitudes of a right-hand side that holds those modes only.
void RightHandSides(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                    const std::vector<Column>& phi, ModeMatrices& M) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const std::size_t flows = onsets.size();
  // The right-hand sides' columns follow the NI columns of the coefficients.
  const auto firstSide = static_cast<std::size_t>(ni) + 1;
  const bool parallel = static_cast<double>(ni) * nj * static_cast<double>(flows) > kParallelPanels;
#pragma omp parallel for schedule(static) if (parallel)
  for (int i = 1; i <= ni; ++i) {
    for (std::size_t f = 0; f < flows; ++f) {
      double mean = 0, cosine = 0, sine = 0;
      for (std::size_t j = 1; j < phi.size(); ++j) {
        const Vector3 V = OnsetVelocity(onsets[f], s.xC(i, j), s.yC(i, j), s.zC(i, j));
        const double b = -(s.ZtaX(i, j) * V[0] + s.ZtaY(i, j) * V[1] + s.ZtaZ(i, j) * V[2]);
        mean = mean + b;
        cosine = cosine + b * phi[j].c;
        sine = sine + b * phi[j].s;
      }
      M.N0(i, firstSide + f) = mean / nj;
      M.N1(i, firstSide + f) = 2 * cosine / nj;
      M.N1(i, firstSide + flows + f) = 2 * sine / nj;
    }
  }
}

// M x for rows and columns 1..n.
Array1 Times(const Array2& M, const Array1& x, std::size_t n) {
  Array1 y(n);
  for (std::size_t i = 1; i <= n; ++i) {
    const double* row = M.Row(i);
    double sum = 0;
    for (std::size_t k = 1; k <= n; ++k) sum = sum + row[k] * x(k);
    y(i) = sum;
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

RingVelocities InducedByRing(const ModeMatrices& M, const FlowModes& x, std::size_t ni) {
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
  for (const FlowModes& modes : x) {
    induced.push_back(InducedByRing(M, modes, static_cast<std::size_t>(ni)));
  }
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

namespace {

// The radius of the profile's first or last point where it lies off the axis, else 0.
double OffAxis(const ModelState& s, int i) {
  const int ni = LoopEnd(s.NI);
  double size = 0;
  for (int k = 1; k <= ni + 1; ++k) {
    size = std::max({size, std::fabs(s.xB(k, 1)), std::fabs(s.yB(k, 1)), std::fabs(s.zB(k, 1))});
  }
  const double r = std::hypot(s.yB(i, 1), s.zB(i, 1));
  return r > kOnAxis * size ? r : 0;
}

}  // namespace

bool MirrorPanels(const ModelState& s) {
  // Panels made without a grid (a test's) are taken as they are.
  return !HasProfileGrid(s) || (OffAxis(s, 1) == 0 && OffAxis(s, LoopEnd(s.NI) + 1) == 0);
}

void RequireMirrorPanels(const ModelState& s) {
  const int ni = LoopEnd(s.NI);
  if (MirrorPanels(s)) return;
  for (const auto& [i, end] : {std::pair{1, "first"}, std::pair{ni + 1, "last"}}) {
    if (const double r = OffAxis(s, i); r != 0) {
      char text[32];
      std::snprintf(text, sizeof text, "%.6g", r);
      throw ProgramError(
          "Hess's panel method by the body's symmetry needs a profile that ends on the axis, "
          "but the " +
          std::string(end) + " point of the profile of " + ShownPath(s.BodyFile) +
          " has r = " + text +
          ": its panels there are not their own mirror images. Close the profile on the "
          "axis, or apply the full solve.");
    }
  }
}

void RequireSymmetricSolveMemory(double ni, double nj, int flows, bool ringPotentials) {
  const double panels = ni * nj;
  const std::string count = std::to_string(static_cast<long long>(panels));
  RequireMemory(SymmetricSolveBytes(ni, nj, flows, omp_get_max_threads(), ringPotentials),
                "Hess's panel method by the body's symmetry for " + count + " panels");
  if (panels > kMaxPanels) {
    throw ProgramError("Hess's panel method takes at most " +
                       std::to_string(static_cast<long long>(kMaxPanels)) + " panels, not " +
                       count + ".");
  }
}

ModeSumsWork SymmetricSolveWork(const ModelState& s) {
  return CountModeSumsWork(s, kRingFarFieldTolerance, kCountedRows);
}

double SymmetricSolveBytes(double ni, double nj, int flows, int threads, bool ringPotentials) {
  const double sources = ni * (std::floor(nj / 2) + 1);
  const double sourceArrays = 13 + 5 * 4;  // SourcePanels
  const double rows = ni + 1;
  const double potentials = ringPotentials ? rows * rows : 0;
  const double modes =
      rows * (rows + flows) + rows * (rows + 2.0 * flows) + 3 * rows * rows + potentials;
  const double solution = (3.0 * flows + 1) * (ni + 1) * (nj + 1);
  const double rules = threads * rows * static_cast<double>(sizeof(RingRule));
  const double rowComponents = ringPotentials ? 4 : 3;
  return (sourceArrays * (sources + kLanes) + rowComponents * threads * (sources + 1) + modes +
          solution) *
             static_cast<double>(sizeof(double)) +
         rules + RingFarField::Bytes(ni, nj);
}

namespace {

HessSolution Solved(const ModelState& s, const std::vector<OnsetFlow>& onsets, Progress& progress,
                    VectorPath path, double farTolerance, Array2* ringPotentials) {
  if (onsets.empty() || onsets.size() > kMaxFlows) {
    throw ProgramError("Hess's panel method takes one to four onset flows at a time.");
  }
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int flows = static_cast<int>(onsets.size());
  RequireMirrorPanels(s);
  RequireSymmetricSolveMemory(ni, nj, flows, ringPotentials != nullptr);
  const std::vector<Column> phi = ColumnAngles(s, nj);
  const auto rows = static_cast<std::size_t>(ni);
  ModeMatrices M{Array2(rows, rows + onsets.size()),
                 Array2(rows, rows + 2 * onsets.size()),
                 Array2(rows, rows),
                 Array2(rows, rows),
                 Array2(rows, rows),
                 ringPotentials != nullptr ? Array2(rows, rows) : Array2()};

  HessSolution solution;
  solution.onsets = onsets;
  Step(progress, Stage::Coefficients, 0);
  if (const int ring = GatherModeSums(s, M, phi, farTolerance, path, progress); ring != 0) {
    solution.nonFinitePanel = (ring - 1) * nj + 1;
    return solution;
  }
  RightHandSides(s, onsets, phi, M);
  if (ringPotentials != nullptr) *ringPotentials = std::move(M.P1);

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

}  // namespace

HessSolution SymmetricSolve(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                            Progress& progress, VectorPath path, double farTolerance) {
  return Solved(s, onsets, progress, path, farTolerance, nullptr);
}

HessSolution SymmetricSolve(const ModelState& s, const std::vector<OnsetFlow>& onsets,
                            Progress& progress, Array2& ringPotentials) {
  return Solved(s, onsets, progress, WidestVectorPath(), kRingFarFieldTolerance, &ringPotentials);
}

Array2 RingPotentials(const ModelState& s, Progress& progress) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  RequireMirrorPanels(s);
  RequireSymmetricSolveMemory(ni, nj, 1, true);
  const auto rows = static_cast<std::size_t>(ni);
  ModeMatrices M;
  M.P1 = Array2(rows, rows);
  // Told as the potential on the body, the work it is.
  struct AsPotential : Progress {
    explicit AsPotential(Progress& whole) : whole_(whole) {}
    bool Advance(Stage, double fraction) override {
      return whole_.Advance(Stage::BodyPotential, fraction);
    }
    Progress& whole_;
  } told(progress);
  Step(told, Stage::BodyPotential, 0);
  const int ring =
      GatherModeSums(s, M, ColumnAngles(s, nj), kRingFarFieldTolerance, WidestVectorPath(), told);
  if (ring != 0) {
    throw ProgramError("The potential on the body is not finite at panel (" + std::to_string(ring) +
                       ", 1).");
  }
  return std::move(M.P1);
}

}  // namespace tarvenol
