// The charts saved as pictures: what is refused, and why, is said by the session whoever draws
// them, and a chart that cannot be drawn leaves the file that was there.

#include "session/chart_commands.h"

#include <gtest/gtest.h>

#include "fake_window.h"
#include "field/flow_picture.h"
#include "session/commands.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

// Draws every chart as the name of its format, or nothing at all.
struct WordCharts : Charts {
  bool draws = true;
  std::string Word(PlotFormat format) const {
    return !draws ? "" : format == PlotFormat::Svg ? "svg" : "png";
  }
  std::string PressurePlot(const PressureAlongBody&, PlotFormat f) override { return Word(f); }
  std::string MomentPlot(const ForcesTable&, const std::string&, PlotFormat f) override {
    return Word(f);
  }
  std::string DragPlot(const DragResult&, PlotFormat f) override { return Word(f); }
  std::string FlowPlot(const FlowPicture&, FlowColour, PlotFormat f) override { return Word(f); }
};

TEST(ChartCommands, RefusalsAreTheSessionsAndAChartNotDrawnLeavesTheFile) {
  TempWorkDir dir;
  Program program;
  FakeWindow win;
  WordCharts charts;
  StartUp(program, win);
  WriteFile("p.png", "what was there\n");
  SavePressurePlot(program, win, charts, "p.png");
  SaveMomentPlot(program, win, charts, "p.png", 0, 90, 5);
  ASSERT_EQ(win.messages.size(), 2u);
  EXPECT_EQ(win.messages[0], "There is no solution to plot yet: apply Hess's panel method first.");
  EXPECT_EQ(win.messages[1], "There are no forces yet: apply Hess's panel method first.");

  testing::SolveSphere(program, win, "6", "8");
  win.messages.clear();
  charts.draws = false;
  SavePressurePlot(program, win, charts, "p.png");
  SaveMomentPlot(program, win, charts, "p.png", 0, 90, 5);
  SaveDragPlot(program, win, charts, DragResult{}, "p.png");
  SaveFlowPicture(program, win, charts, FlowPicture{}, FlowColour::Cp, "p.png");
  EXPECT_EQ(win.messages,
            (std::vector<std::string>{"The plot cannot be drawn.", "The plot cannot be drawn.",
                                      "The plot cannot be drawn.",
                                      "The picture of the flow cannot be drawn."}));
  EXPECT_EQ(ReadFile("p.png"), "what was there\n");

  // SVG for a name that ends in .svg in any case, PNG for every other name.
  charts.draws = true;
  SavePressurePlot(program, win, charts, "p.SVG");
  SaveMomentPlot(program, win, charts, "m.plot", 0, 90, 5);
  EXPECT_EQ(ReadFile("p.SVG"), "svg");
  EXPECT_EQ(ReadFile("m.plot"), "png");
  // Nor does a chart replace a file the program holds.
  SaveDragPlot(program, win, charts, DragResult{}, "Tarvenol.txt");
  EXPECT_EQ(win.messages.size(), 5u);
  EXPECT_NE(ReadFile("Tarvenol.txt"), "png");
}

}  // namespace
}  // namespace tarvenol
