// The cost of the results at a Mach number: the one solve of the affine body that the pressure
// at M takes, and the search for the critical Mach number, whose solves are counted, on the
// sphere and on the 4:1 spheroid of 201 points crowded towards its ends, on 1 and 2 threads.

#include <benchmark/benchmark.h>
#include <omp.h>

#include <cmath>

#include "geometry/body_of_revolution.h"
#include "geometry/panels.h"
#include "results/critical_mach.h"
#include "results/goethert.h"
#include "solver/symmetric_solve.h"

namespace tarvenol {
namespace {

struct Body {
  ModelState s;
  BodyWork body;
  HessSolution solution;
};

// The spheroid of half length a and radius b, its profile evenly spaced in the angle t of
// x = a (1 + cos t), r = b sin t, solved as the program solves it by its symmetry.
Body SolvedSpheroid(double a, double b, int ni, int nj) {
  Body out;
  out.s.PI = std::atan(1.0) * 4;
  out.s.TwoPI = 2 * out.s.PI;
  out.s.FourPI = 4 * out.s.PI;
  out.s.NI = ni;
  out.s.NI1 = ni + 1;
  out.s.NJ = nj;
  out.s.NJ1 = nj + 1;
  out.body.kind = BodyKind::GivenBody;
  out.body.xI = Array1(ni + 1);
  out.body.rI = Array1(ni + 1);
  for (int i = 1; i <= ni + 1; ++i) {
    const double t = out.s.PI * (1 - (i - 1.0) / ni);
    out.body.xI(i) = a * (1 + std::cos(t));
    out.body.rI(i) = b * std::sin(t);
  }
  RevolveProfile(out.s, out.body);
  BuildPanels(out.s);
  IgnoredProgress unseen;
  out.solution = SymmetricSolve(out.s, IncidenceOnsetFlows(a), unseen);
  return out;
}

// range(0): threads; range(1): 1 for the sphere of 64 x 64 panels, 4 for the spheroid of
// 200 x 32.
const Body& BodyOf(benchmark::State& state) {
  static const Body sphere = SolvedSpheroid(0.5, 0.5, 64, 64);
  static const Body spheroid = SolvedSpheroid(2, 0.5, 200, 32);
  omp_set_num_threads(static_cast<int>(state.range(0)));
  return state.range(1) == 1 ? sphere : spheroid;
}

void BM_PressureAtMach(benchmark::State& state) {
  const Body& b = BodyOf(state);
  IgnoredProgress unseen;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        PressureAtMachOf(b.s, b.body, b.solution, IncidenceOf(10), {0.6}, unseen));
  }
}
BENCHMARK(BM_PressureAtMach)
    ->ArgsProduct({{1, 2}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_CriticalMach(benchmark::State& state) {
  const Body& b = BodyOf(state);
  IgnoredProgress unseen;
  CriticalMach critical;
  for (auto _ : state) {
    critical =
        CriticalMachOf(b.s, b.body, b.solution, IncidenceOf(10), PressureRule::Goethert, unseen);
  }
  state.counters["solves"] = critical.solves;
  state.counters["M_critical"] = critical.mach.value_or(0);
}
BENCHMARK(BM_CriticalMach)
    ->ArgsProduct({{1, 2}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tarvenol

BENCHMARK_MAIN();
