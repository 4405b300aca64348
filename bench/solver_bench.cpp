// Speed of the solver on the sphere of 64 x 64 panels (4096 equations): the influence
// coefficients and the matrix report on 1 and 2 threads, GaussSolve against OpenBLAS's dgesv on
// the same system and the same thread count, and against Eigen's LU on systems of the size the
// solve by the body's symmetry eliminates, that solve itself at 256 x 256 panels, the cost of
// telling progress as the window does, the whole of ApplyHessMethod with the time of each stage and
// the peak memory, and the shipped tarvenol-batch run end to end as a user runs it. Reports of
// about 350 MB are written in a folder under /tmp, which is removed at the end.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <omp.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <Eigen/Dense>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "session/commands.h"
#include "session/headless_window.h"
#include "session/program.h"
#include "null_canvas.h"
#include "report/report_file.h"
#include "report/solution_sections.h"
#include "solver/gauss_solve.h"
#include "solver/influence_matrices.h"
#include "solver/symmetric_solve.h"

extern char** environ;

extern "C" {
void dgesv_(const int* n, const int* nrhs, double* a, const int* lda, int* ipiv, double* b,
            const int* ldb, int* info);
void openblas_set_num_threads(int threads);
}

namespace tarvenol {
namespace {

constexpr int kCount = 64;  // NI = NJ

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
    BuildInfluenceMatrices(program.state, program.solver, NPan, {OnsetFlow{{1, 0, 0}, {}, {}}},
                           unseen);
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

// What the window's progress does on each call: the fraction stored for the window's thread to
// show, and the user's cancel request read.
class WindowLikeProgress : public Progress {
 public:
  bool Advance(Stage, double fraction) override {
    fraction_.store(fraction, std::memory_order_release);
    calls_.fetch_add(1, std::memory_order_relaxed);
    return !cancel_.load(std::memory_order_acquire);
  }
  long Calls() const { return calls_.load(); }

 private:
  std::atomic<double> fraction_ = 0;
  std::atomic<long> calls_ = 0;
  std::atomic<bool> cancel_ = false;
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// What one call of the window-like progress takes, from a million of them.
double SecondsPerProgressCall() {
  WindowLikeProgress probe;
  Progress& progress = probe;
  constexpr int kCalls = 1000000;
  const Clock::time_point start = Clock::now();
  for (int n = 0; n < kCalls; ++n) {
    benchmark::DoNotOptimize(progress.Advance(Stage::Coefficients, n * 1e-6));
  }
  return SecondsSince(start) / kCalls;
}

// With the second argument 1, progress is told as the window is told, and progress_percent is
// the share of the work's time that its calls take: their count times the time of one call.
void CountProgress(benchmark::State& state, const WindowLikeProgress& shown, double seconds) {
  if (state.range(1) == 0) return;
  const auto calls = static_cast<double>(shown.Calls());
  state.counters["progress_calls"] = calls / static_cast<double>(state.iterations());
  state.counters["progress_percent"] = 100 * calls * SecondsPerProgressCall() / seconds;
}

void BM_InfluenceCoefficients(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  IgnoredProgress unseen;
  WindowLikeProgress shown;
  Progress& progress = state.range(1) != 0 ? static_cast<Progress&>(shown) : unseen;
  double seconds = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    BuildInfluenceMatrices(sphere.program.state, sphere.program.solver, sphere.NPan,
                           {OnsetFlow{{1, 0, 0}, {}, {}}}, progress);
    seconds += SecondsSince(start);
  }
  CountProgress(state, shown, seconds);
}
BENCHMARK(BM_InfluenceCoefficients)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_GaussSolve(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  IgnoredProgress unseen;
  WindowLikeProgress shown;
  Progress& progress = state.range(1) != 0 ? static_cast<Progress&>(shown) : unseen;
  Array2 A;
  Array1 X(static_cast<std::size_t>(sphere.NPan));
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    A = {};
    A = sphere.Vn;
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    GaussSolve(sphere.NPan, A, X, progress);
    seconds += SecondsSince(start);
  }
  CountProgress(state, shown, seconds);
}
BENCHMARK(BM_GaussSolve)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The elimination and back substitution with the axial stream's right-hand side alone, and with
// the transverse stream's and the pitch turn's beside it, as a solve carries them: what the
// further right-hand sides cost.
void BM_RightHandSides(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  omp_set_num_threads(2);
  const int N = sphere.NPan;
  const auto sides = static_cast<std::size_t>(state.range(0));
  const auto n = static_cast<std::size_t>(N);
  Array2 system(n, n + sides);
  for (std::size_t m = 1; m <= n; ++m) {
    const double* from = sphere.Vn.Row(m);
    std::copy(from + 1, from + n + 2, system.Row(m) + 1);
    for (std::size_t r = 1; r < sides; ++r)
      system(m, n + 1 + r) = from[n + 1] * static_cast<double>(r);
  }
  IgnoredProgress unseen;
  Array2 A;
  std::vector<Array1> X(sides, Array1(n));
  for (auto _ : state) {
    state.PauseTiming();
    A = {};
    A = system;
    state.ResumeTiming();
    GaussSolve(N, A, X, unseen);
  }
}
BENCHMARK(BM_RightHandSides)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three matrices written as the report writes them, into a report emptied first.
void BM_MatrixReport(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  const SolverWork& w = sphere.program.solver;
  IgnoredProgress unseen;
  for (auto _ : state) {
    state.PauseTiming();
    sphere.ClearReport();
    state.ResumeTiming();
    PrintVelocityMatrices(sphere.program.state, sphere.Vn, w.Vu, w.Vv, sphere.NPan, sphere.NPan + 1,
                          unseen);
  }
}
BENCHMARK(BM_MatrixReport)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// The solve by the body's symmetry eliminates one system of NI equations for each of its two
// modes. The leading n x n block of the sphere's matrix with its right-hand side, a system of the
// same kind, by GaussSolve (library 0), by Eigen's PartialPivLU (1; Eigen, like the program, built
// for plain x86-64) and by OpenBLAS's dgesv (2). Arguments: threads, n, library.
void BM_ModeSystem(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  Eigen::setNbThreads(static_cast<int>(state.range(0)));
  const int n = static_cast<int>(state.range(1));
  const auto size = static_cast<std::size_t>(n);
  Eigen::MatrixXd M(n, n);
  Eigen::VectorXd b(n);
  for (std::size_t m = 0; m < size; ++m) {
    const double* row = sphere.Vn.Row(m + 1);
    for (std::size_t j = 0; j < size; ++j)
      M(static_cast<Eigen::Index>(m), static_cast<Eigen::Index>(j)) = row[j + 1];
    b(static_cast<Eigen::Index>(m)) = row[sphere.NPan + 1];
  }
  Array2 A(size, size + 1);
  Array1 X(size);
  IgnoredProgress unseen;
  std::vector<int> pivots(size);
  for (auto _ : state) {
    state.PauseTiming();
    Eigen::MatrixXd lapack = M;
    Eigen::VectorXd x = b;
    for (std::size_t m = 0; m < size; ++m) {
      for (std::size_t j = 0; j < size; ++j)
        A(m + 1, j + 1) = M(static_cast<Eigen::Index>(m), static_cast<Eigen::Index>(j));
      A(m + 1, size + 1) = b(static_cast<Eigen::Index>(m));
    }
    state.ResumeTiming();
    if (state.range(2) == 0) {
      GaussSolve(n, A, X, unseen);
    } else if (state.range(2) == 1) {
      x = M.partialPivLu().solve(b);
    } else {
      const int one = 1;
      int info = 0;
      dgesv_(&n, &one, lapack.data(), &n, pivots.data(), x.data(), &n, &info);
    }
    benchmark::DoNotOptimize(X);
    benchmark::DoNotOptimize(x);
  }
}
BENCHMARK(BM_ModeSystem)
    ->ArgsProduct({{1, 2}, {256, 1000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole solve by the body's symmetry of the sphere of 256 x 256 panels, three onset flows.
void BM_SymmetricSolve(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  SetThreads(state);
  static Program program;
  if (!program.state.GeometryReady) {
    HeadlessWindow win{sphere.canvas};
    win.texts[TextBox::Text_NI] = "256";
    win.texts[TextBox::Text_NJ] = "256";
    StartUp(program, win);
    PrepareSphere(program, win);
  }
  IgnoredProgress unseen;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SymmetricSolve(program.state, IncidenceOnsetFlows(0.5), unseen));
  }
}
BENCHMARK(BM_SymmetricSolve)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// The shipped tarvenol-batch, "ni 64 nj 64 sphere solve", a whole process from start to exit as
// a user runs it, with the wall time of each stage it prints with --timings.
void BM_BatchTool(benchmark::State& state) {
  const std::string folder = TheSphere().folder + "/batch";
  std::filesystem::create_directories(folder);
  const std::string tool = TARVENOL_BATCH_PATH;
  const std::string threads = "OMP_NUM_THREADS=" + std::to_string(state.range(0));
  const std::string timings = folder + "/timings.txt";
  std::vector<std::string> environment = {threads};
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "OMP_NUM_THREADS=", 16) != 0) environment.emplace_back(*e);
  }
  std::vector<char*> env;
  for (std::string& e : environment) env.push_back(e.data());
  env.push_back(nullptr);
  std::string args[] = {tool, "--timings", "ni", "64", "nj", "64", "sphere", "solve"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(folder + "/Tarvenol.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 2, timings.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    state.ResumeTiming();
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), env.data()) == 0) {
      waitpid(pid, &status, 0);
    }
    state.PauseTiming();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      state.SkipWithError("tarvenol-batch failed");
    state.ResumeTiming();
  }
  // "tarvenol-batch: solve: influence coefficients 1.234 s, matrix report 0.567 s, ..."
  std::ifstream in(timings);
  for (std::string line; std::getline(in, line);) {
    const std::size_t solve = line.find("solve: ");
    if (solve == std::string::npos) continue;
    std::istringstream stages(line.substr(solve + 7));
    for (std::string stage; std::getline(stages, stage, ',');) {
      const std::size_t end = stage.rfind(" s");
      if (end == std::string::npos || end == 0) continue;
      const std::size_t number = stage.rfind(' ', end - 1);
      const std::size_t begin = stage.find_first_not_of(' ');
      if (number == std::string::npos || number <= begin) continue;
      std::string name = stage.substr(begin, number - begin);
      std::replace(name.begin(), name.end(), ' ', '_');
      state.counters[name + "_s"] = std::atof(stage.c_str() + number + 1);
    }
  }
}
BENCHMARK(BM_BatchTool)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarvenol

BENCHMARK_MAIN();
