// The profile resampled in the session, the drag's settings and the drag of the solution shown:
// bad input and work that cannot be done refused with a message, leaving the settings, the
// state and the report as they were; the drag the boundary layer's own.

#include "flow/drag_flow.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

#include "boundary_layer/drag_input.h"
#include "boundary_layer/drag_table.h"
#include "fake_window.h"
#include "flow/command_flow.h"
#include "flow/mach_flow.h"
#include "flow/results_flow.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

class DragFlow : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(program, win); }
  void Counts(const char* ni, const char* nj) {
    win.texts[TextBox::Text_NI] = ni;
    win.texts[TextBox::Text_NJ] = nj;
  }
  // The one message shown since the last call.
  std::string Message() {
    EXPECT_EQ(win.messages.size(), 1u);
    std::string text = win.messages.empty() ? std::string() : win.messages.back();
    win.messages.clear();
    return text;
  }
  bool Refused(const char* words) {
    std::optional<DragResult> into;
    const bool none = PlanDrag(program, win, into) == nullptr;
    return none && Message().find(words) != std::string::npos;
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
};

// The rows of the report's profile section: i, xI, rI.
std::vector<std::array<double, 3>> ProfileRows(const std::string& report) {
  std::istringstream in(report.substr(report.find("  i     xI     rI")));
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  std::vector<std::array<double, 3>> rows;
  std::array<double, 3> row{};
  while (std::getline(in, line) && std::istringstream(line) >> row[0] >> row[1] >> row[2]) {
    rows.push_back(row);
  }
  return rows;
}

TEST_F(DragFlow, RefusalsLeaveTheSettingsTheStateAndTheReport) {
  ResampleCurrentProfile(program, win);
  EXPECT_EQ(Message(), "There is no profile to resample yet: prepare a geometry first.");
  EXPECT_TRUE(Refused("apply Hess's panel method first"));

  for (const char* bad : {"abc", "", "0", "-1e6", "1.0001e10", "nan", "inf", "1e7 x"}) {
    EXPECT_FALSE(SetReynolds(program, win, bad)) << bad;
    EXPECT_EQ(program.drag.reynolds, 1e7) << bad;
    EXPECT_NE(Message().find("Reynolds number"), std::string::npos) << bad;
  }
  for (const char* bad : {"1.5", "-0.1", "turbulent", "", "nan", "0.5x"}) {
    EXPECT_FALSE(SetTransition(program, win, bad)) << bad;
    EXPECT_EQ(program.drag.transition.kind, TransitionKind::Free) << bad;
    EXPECT_NE(Message().find("free, laminar, or a trip"), std::string::npos) << bad;
  }
  EXPECT_TRUE(SetReynolds(program, win, " 1e10 "));
  EXPECT_TRUE(SetTransition(program, win, " Laminar "));
  EXPECT_EQ(program.drag.transition.kind, TransitionKind::Laminar);
  EXPECT_TRUE(SetTransition(program, win, "-0"));
  EXPECT_EQ(TransitionText(program.drag.transition), "0");
  EXPECT_TRUE(win.messages.empty());

  // The sphere at 8 panels along is too coarse for a boundary layer: resample it.
  Counts("8", "12");
  PrepareSphere(program, win);
  ApplyHessMethod(program, win);
  ASSERT_TRUE(win.messages.empty());
  EXPECT_TRUE(Refused("at least 20 panels along"));
  const std::string report = ReadFile("Tarvenol.txt");
  const unsigned solution = program.solutionCount;
  for (const char* bad : {"abc", "1", "2.5"}) {
    win.texts[TextBox::Text_NI] = bad;
    ResampleCurrentProfile(program, win);
    EXPECT_NE(Message().find("NI must be a whole number"), std::string::npos) << bad;
  }
  EXPECT_EQ(ReadFile("Tarvenol.txt"), report);
  EXPECT_EQ(program.state.NI, 8);
  EXPECT_TRUE(program.state.ShowSolution);
  EXPECT_EQ(program.solutionCount, solution);

  Counts("40", "12");
  ResampleCurrentProfile(program, win);
  EXPECT_TRUE(Refused("apply Hess's panel method first"));
  ApplyHessMethod(program, win);
  ASSERT_TRUE(SetAngleOfAttack(program, win, "10"));
  EXPECT_TRUE(Refused("the axial stream's"));
  ASSERT_TRUE(SetAngleOfAttack(program, win, "0"));
  IgnoredProgress unseen;
  const std::string solved = ReadFile("Tarvenol.txt");
  EXPECT_TRUE(ComputeDrag(program, win, unseen));
  EXPECT_TRUE(win.messages.empty());
  // The drag is a result: the report stays as the solution left it.
  EXPECT_EQ(ReadFile("Tarvenol.txt"), solved);
}

// The report's profile section lists the resampled points (at its four decimals), the sphere's
// ends kept and the points on its circle within the spline's error: makima's slope of r is
// first-order where r is largest, so the curve through 16 panels of a circle of radius 0.5 is
// off it by about (pi/16)^2 / 64 = 6e-4 there; corners are kept with a warning.
TEST_F(DragFlow, TheResampledProfileIsTheReportsProfile) {
  Counts("16", "12");
  PrepareSphere(program, win);
  Counts("40", "12");
  ResampleCurrentProfile(program, win);
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  EXPECT_EQ(program.state.NI, 40);
  EXPECT_EQ(BodyName(program), "\"the sphere, resampled\"");
  const std::string report = ReadFile("Tarvenol.txt");
  const auto rows = ProfileRows(report.substr(report.rfind(" Profile of the body")));
  ASSERT_EQ(rows.size(), 41u);
  EXPECT_EQ(rows.front()[1], 0);
  EXPECT_EQ(rows.back()[1], 1);
  double most = 0;
  for (const auto& [i, x, r] : rows) {
    const auto k = static_cast<std::size_t>(i);
    EXPECT_NEAR(x, program.body.xI(k), 5e-5) << i;
    EXPECT_NEAR(r, program.body.rI(k), 5e-5) << i;
    most =
        std::max(most, std::fabs(std::hypot(program.body.xI(k) - 0.5, program.body.rI(k)) - 0.5));
  }
  EXPECT_LT(most, 1e-3);

  // A cylinder with a flat base: the shoulder stays a corner.
  WriteFile("can.body", "c\n5\nc\n1,0,0\n2,0,0.5\n3,1,0.5\n4,2,0.5\n5,2,0\n");
  Counts("4", "12");
  win.ChooseFile(dir.path().string(), "can.body");
  PrepareBodyFile(program, win);
  Counts("30", "12");
  ResampleCurrentProfile(program, win);
  ASSERT_GE(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("kept as a corner"), std::string::npos) << win.messages[0];
  EXPECT_EQ(BodyName(program), "\"can.body\"");
  bool shoulder = false;
  for (int i = 1; i <= 31; ++i) shoulder |= program.body.xI(i) == 2 && program.body.rI(i) == 0.5;
  EXPECT_TRUE(shoulder);
}

// The drag the window and the batch tool give is the boundary layer's own on the solution
// shown, bit for bit, and its table the same; Thwaites' laminar separation on the sphere at
// 103.6 degrees, within the 1.5 degrees of the panels' velocity at 100 panels along.
TEST_F(DragFlow, TheDragIsTheBoundaryLayersOnTheSolutionShown) {
  Counts("100", "16");
  PrepareSphere(program, win);
  ApplyHessMethod(program, win);
  ASSERT_TRUE(SetReynolds(program, win, "1e5"));
  ASSERT_TRUE(SetTransition(program, win, "laminar"));
  IgnoredProgress unseen;
  const std::optional<DragResult> drag = ComputeDrag(program, win, unseen);
  ASSERT_TRUE(drag);
  const BoundaryLayerResult core = MarchBoundaryLayer(
      BoundaryLayerInputOf(program.state, program.solution, 1e5, {TransitionKind::Laminar, 0}));
  EXPECT_EQ(DragFigureLines(drag->layer), DragFigureLines(core));
  ExportDragCsv(program, win, *drag, "layer.csv");
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  EXPECT_EQ(ReadFile("layer.csv"), DragCsv(core));
  const std::string report = ReadFile("Tarvenol.txt");
  ExportDragCsv(program, win, *drag, "Tarvenol.txt");
  EXPECT_NE(Message().find("it is the program's report"), std::string::npos);
  EXPECT_EQ(ReadFile("Tarvenol.txt"), report);
  ASSERT_TRUE(core.figures.xSeparation);
  EXPECT_NEAR(std::acos(1 - 2 * *core.figures.xSeparation) * 180 / M_PI, 103.6, 1.5);
  EXPECT_EQ(drag->length, 1);
  EXPECT_EQ(drag->body, "the sphere");
  EXPECT_EQ(drag->solution, program.solutionCount);
}

// At a Mach number the edge velocity is the isentropic speed of Göthert's pressure: faster over
// the sphere's shoulder than the incompressible one (the rule deepens the suction), and the
// drag follows the setting; back at M = 0 it is the incompressible drag again, bit for bit.
TEST_F(DragFlow, TheEdgeVelocityFollowsTheMachNumber) {
  Counts("100", "16");
  PrepareSphere(program, win);
  ApplyHessMethod(program, win);
  ASSERT_TRUE(SetTransition(program, win, "laminar"));
  IgnoredProgress unseen;
  const auto fastest = [](const DragResult& d) {
    double most = 0;
    for (const LayerStation& station : d.layer.stations) most = std::max(most, station.Ue);
    return most;
  };
  const std::optional<DragResult> incompressible = ComputeDrag(program, win, unseen);
  ASSERT_TRUE(SetMach(program, win, "0.3", std::nullopt));
  const std::optional<DragResult> compressible = ComputeDrag(program, win, unseen);
  ASSERT_TRUE(incompressible && compressible) << (win.messages.empty() ? "" : win.messages[0]);
  EXPECT_GT(fastest(*compressible), fastest(*incompressible) + 1e-3);
  EXPECT_EQ(compressible->mach.mach, 0.3);
  ASSERT_TRUE(SetMach(program, win, "0", std::nullopt));
  const std::optional<DragResult> again = ComputeDrag(program, win, unseen);
  ASSERT_TRUE(again);
  EXPECT_EQ(DragFigureLines(again->layer), DragFigureLines(incompressible->layer));
}

}  // namespace
}  // namespace tarvenol
