// Speed of the solver on the sphere of 64 x 64 panels (4096 equations): the influence
// coefficients on 1 and 2 threads, GaussSolve against OpenBLAS's dgesv on the same system
// and the same thread count, and the whole of ApplyHessMethod with the time of each stage
// and the peak memory. Run from a folder with room for the report (about 350 MB).

#include <benchmark/benchmark.h>
#include <omp.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/headless_window.h"
#include "flow/command_flow.h"
#include "flow/program.h"
#include "report/report_file.h"
#include "solver/gauss_solve.h"
#include "solver/influence_matrices.h"

extern "C" {
void dgesv_(const int* n, const int* nrhs, double* a, const int* lda, int* ipiv, double* b,
            const int* ldb, int* info);
void openblas_set_num_threads(int threads);
}

namespace tarvenol {
namespace {

constexpr int kCount = 64;  // NI = NJ

class NullCanvas : public Canvas {
 public:
  void Clear() override {}
  void SetCoordinates(double, double, double, double) override {}
  void PlotPoint(double, double) override {}
  void LineTo(double, double, Colour) override {}
  void Line(double, double, double, double, Colour) override {}
};

// The sphere prepared, and its matrices built once, in a folder of its own.
struct Sphere {
  Sphere() {
    char pattern[] = "/tmp/tarvenol-bench-XXXXXX";
    folder = ::mkdtemp(pattern);
    std::filesystem::current_path(folder);
    win.texts[TextBox::Text_NI] = std::to_string(kCount);
    win.texts[TextBox::Text_NJ] = std::to_string(kCount);
    win.onMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    StartUp(program, win);
    PrepareSphere(program, win);
    program.state.VinfX = 1;
    const auto n = static_cast<std::size_t>(NPan);
    program.solver.Vn = Array2(n, n + 1);
    program.solver.Vu = Array2(n, n + 1);
    program.solver.Vv = Array2(n, n + 1);
    IgnoredProgress unseen;
    BuildInfluenceMatrices(program.state, program.solver, NPan, unseen);
    Vn = program.solver.Vn;
  }
  ~Sphere() {
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
  }
  void ClearReport() { std::filesystem::resize_file(program.state.OutFile, 0); }

  const int NPan = kCount * kCount;
  std::string folder;
  NullCanvas canvas;
  HeadlessWindow win{canvas};
  Program program;
  Array2 Vn;  // as built, before elimination
};

Sphere& TheSphere() {
  static Sphere sphere;
  return sphere;
}

void SetThreads(benchmark::State& state) {
  omp_set_num_threads(static_cast<int>(state.range(0)));
  openblas_set_num_threads(static_cast<int>(state.range(0)));
}

void BM_InfluenceCoefficients(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  for (auto _ : state) {
    IgnoredProgress unseen;
    BuildInfluenceMatrices(sphere.program.state, sphere.program.solver, sphere.NPan, unseen);
  }
}
BENCHMARK(BM_InfluenceCoefficients)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GaussSolve(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  Array2 A;
  Array1 X(static_cast<std::size_t>(sphere.NPan));
  for (auto _ : state) {
    state.PauseTiming();
    A = {};
    A = sphere.Vn;
    state.ResumeTiming();
    GaussSolve(sphere.NPan, A, X);
  }
}
BENCHMARK(BM_GaussSolve)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same system, column by column as LAPACK takes it, solved with partial pivoting.
void BM_OpenBlasDgesv(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  const int n = sphere.NPan;
  const auto size = static_cast<std::size_t>(n);
  std::vector<double> a(size * size), b(size);
  std::vector<int> pivots(size);
  for (auto _ : state) {
    state.PauseTiming();
    for (std::size_t m = 0; m < size; ++m) {
      const double* row = sphere.Vn.Row(m + 1);
      for (std::size_t j = 0; j < size; ++j) a[j * size + m] = row[j + 1];
      b[m] = row[size + 1];
    }
    state.ResumeTiming();
    const int one = 1;
    int info = 0;
    dgesv_(&n, &one, a.data(), &n, pivots.data(), b.data(), &n, &info);
    if (info != 0) state.SkipWithError("dgesv failed");
  }
}
BENCHMARK(BM_OpenBlasDgesv)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

double StatusKiB(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  double kib = 0;
  char line[256];
  const std::size_t length = std::strlen(field);
  while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, field, length) == 0) kib = std::atof(line + length + 1);
  }
  if (status != nullptr) std::fclose(status);
  return kib;
}

// Starts the peak resident size afresh from the present one.
void ResetPeakMemory() {
  if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

// The button "Apply Hess panel method", report included. The peak is counted from the
// memory the program held before its first solution.
void BM_ApplyHessMethod(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  Program& program = sphere.program;
  program.solver = {};
  sphere.Vn = {};
  const double baseKiB = StatusKiB("VmRSS:");
  HessStageSeconds total;
  double peakKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    sphere.ClearReport();
    ResetPeakMemory();
    program.state.GeometryReady = true;
    state.ResumeTiming();
    ApplyHessMethod(program, sphere.win);
    state.PauseTiming();
    peakKiB = std::max(peakKiB, StatusKiB("VmHWM:") - baseKiB);
    const HessStageSeconds& s = program.solver.seconds;
    total.coefficients += s.coefficients;
    total.matrixReport += s.matrixReport;
    total.solve += s.solve;
    total.oneMinusCp += s.oneMinusCp;
    state.ResumeTiming();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["coefficients_s"] = total.coefficients / runs;
  state.counters["matrix_report_s"] = total.matrixReport / runs;
  state.counters["solve_s"] = total.solve / runs;
  state.counters["one_minus_cp_s"] = total.oneMinusCp / runs;
  const double matrices = 3.0 * (sphere.NPan + 1) * (sphere.NPan + 2) * sizeof(double);
  state.counters["matrices_MiB"] = matrices / (1 << 20);
  state.counters["peak_MiB"] = peakKiB / 1024;
  state.counters["peak_per_matrices"] = peakKiB * 1024 / matrices;
}
BENCHMARK(BM_ApplyHessMethod)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tarvenol

BENCHMARK_MAIN();
