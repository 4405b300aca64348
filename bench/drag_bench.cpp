// The boundary layer and drag of the DARPA SUBOFF hull against the solve by the body's symmetry
// they follow: the profile resampled with NI panels along and NJ around, the solve of the three
// onset flows a solution carries, and the march, tripped at x/L = 0.075 at Re_L = 1.33e7 (the
// tow tank's 5.92 knots), on one thread and on two. The march takes its input from the
// solution, so each pair of lines compares the whole of each step.

#include <benchmark/benchmark.h>
#include <omp.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "boundary_layer/boundary_layer.h"
#include "boundary_layer/drag_input.h"
#include "geometry/body_file.h"
#include "geometry/body_of_revolution.h"
#include "geometry/panels.h"
#include "geometry/profile_resample.h"
#include "solver/symmetric_solve.h"

namespace tarvenol {
namespace {

struct Solved {
  ModelState state;
  HessSolution solution;
};

// SUBOFF at NI x NJ panels, resampled, panelled and solved once.
const Solved& Suboff(int ni, int nj) {
  static std::map<std::pair<int, int>, Solved> solved;
  auto [it, added] = solved.try_emplace({ni, nj});
  if (!added) return it->second;
  const BodyProfile p =
      ResampleProfile(ReadBodyProfile(TARVENOL_EXAMPLES_DIR "/suboff.body", kMaxBodyPoints), ni)
          .profile;
  ModelState& s = it->second.state;
  s.PI = std::atan(1.0) * 4;
  s.TwoPI = 2 * s.PI;
  s.FourPI = 4 * s.PI;
  s.NI = ni;
  s.NI1 = ni + 1;
  s.NJ = nj;
  s.NJ1 = nj + 1;
  BodyWork body;
  body.kind = BodyKind::GivenBody;
  body.xI = Array1(p.x.size());
  body.rI = Array1(p.x.size());
  for (std::size_t k = 1; k <= p.x.size(); ++k) {
    body.xI(k) = p.x[k - 1];
    body.rI(k) = p.r[k - 1];
  }
  RevolveProfile(s, body);
  BuildPanels(s);
  s.GeometryReady = true;
  IgnoredProgress unseen;
  it->second.solution =
      SymmetricSolve(s, IncidenceOnsetFlows(0.5 * (s.xB(1, 1) + s.xB(ni + 1, 1))), unseen);
  return it->second;
}

void Threads(benchmark::State& state) {
  omp_set_num_threads(static_cast<int>(state.range(2)));
}

void BM_SymmetricSolve(benchmark::State& state) {
  const Solved& b = Suboff(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  Threads(state);
  IgnoredProgress unseen;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SymmetricSolve(b.state, b.solution.onsets, unseen));
  }
}

void BM_BoundaryLayerAndDrag(benchmark::State& state) {
  const Solved& b = Suboff(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  Threads(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(MarchBoundaryLayer(
        BoundaryLayerInputOf(b.state, b.solution, 1.33e7, {TransitionKind::Trip, 0.075})));
  }
}

void BM_Resample(benchmark::State& state) {
  const BodyProfile p = ReadBodyProfile(TARVENOL_EXAMPLES_DIR "/suboff.body", kMaxBodyPoints);
  for (auto _ : state)
    benchmark::DoNotOptimize(ResampleProfile(p, static_cast<double>(state.range(0))));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (const auto& [ni, nj] : {std::pair{100, 16}, std::pair{200, 32}, std::pair{400, 64}}) {
    for (const int threads : {1, 2}) b->Args({ni, nj, threads});
  }
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_SymmetricSolve)->Apply(Sizes);
BENCHMARK(BM_BoundaryLayerAndDrag)->Apply(Sizes);
BENCHMARK(BM_Resample)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvenol

BENCHMARK_MAIN();
