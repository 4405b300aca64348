// Speed of the flow around the body of the sphere of 64 x 64 panels: its 200 x 200 field with
// the streamlines, through the multipole expansions and by the direct sum over every panel, on
// 1 and 2 threads; and what a move of the angle of attack costs the window: the two streams
// added anew, the streamlines traced and the picture drawn at the window's size.

#include <benchmark/benchmark.h>
#include <omp.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "session/commands.h"
#include "session/field_commands.h"
#include "session/headless_window.h"
#include "null_canvas.h"
#include "plot/flow_drawing.h"
#include "field/body_flow.h"
#include "field/streamlines.h"

namespace tarvenol {
namespace {

constexpr int kCount = 64;  // NI = NJ

// The sphere solved once, in a folder of its own.
struct Sphere {
  Sphere() {
    char pattern[] = "/tmp/tarvenol-field-bench-XXXXXX";
    folder = ::mkdtemp(pattern);
    std::filesystem::current_path(folder);
    win.texts[TextBox::Text_NI] = std::to_string(kCount);
    win.texts[TextBox::Text_NJ] = std::to_string(kCount);
    win.onMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    StartUp(program, win);
    PrepareSphere(program, win);
    ApplyHessMethod(program, win);
    IgnoredProgress unseen;
    std::optional<FlowField> into;
    RunOperation(program, win, PlanFlowField(program, win, into), unseen);
    field = std::move(*into);
  }
  ~Sphere() {
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
  }

  std::string folder;
  NullCanvas canvas;
  HeadlessWindow win{canvas};
  Program program;
  FlowField field;
};

Sphere& TheSphere() {
  static Sphere sphere;
  return sphere;
}

// The field of both streams and the streamlines at 10 degrees, from the solution: arguments
// threads and 1 for the expansions, 0 for the direct sum.
void BM_Field(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  omp_set_num_threads(static_cast<int>(state.range(0)));
  const double tolerance = state.range(1) != 0 ? kFarFieldTolerance : 0;
  IgnoredProgress unseen;
  for (auto _ : state) {
    const BodyFlow flow(sphere.program.state, sphere.program.body, sphere.program.solution,
                        tolerance);
    const FieldGrid grid = ComputeFieldGrid(flow, GridAroundBody(flow.Shape()), unseen);
    benchmark::DoNotOptimize(TraceStreamlines(FieldAt(grid, IncidenceOf(10))).size());
  }
}
BENCHMARK(BM_Field)
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the window does when the angle of attack moves: the picture at the new angle, drawn at
// the window's size.
void BM_AlphaRedraw(benchmark::State& state) {
  Sphere& sphere = TheSphere();
  QImage window(900, 730, QImage::Format_ARGB32_Premultiplied);
  double alpha = 0;
  for (auto _ : state) {
    alpha = alpha < 80 ? alpha + 1 : 0;
    QPainter painter(&window);
    DrawFlowPicture(painter, QRectF(0, 0, 900, 730), FlowPictureAt(sphere.field, alpha),
                    FlowColour::Cp);
  }
}
BENCHMARK(BM_AlphaRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarvenol

int main(int argc, char** argv) {
  // The picture's words need the fonts of an application; no screen is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
