#include "session/view_handlers.h"

#include <gtest/gtest.h>

#include "fake_window.h"
#include "sphere_state.h"
#include "temp_dir.h"

namespace tarvenol::testing {
namespace {

class ViewHandlersTest : public ::testing::Test {
 protected:
  int Redraws() const {
    int clears = 0;
    for (const DrawOp& op : win.canvas.ops) clears += op.kind == DrawOp::Clear;
    return clears;
  }
  const DrawOp& Coordinates() const { return win.canvas.ops.at(1); }

  TempWorkDir dir;
  ModelState s = SphereState(4, 4);
  ViewWork view;
  FakeWindow win;
};

TEST_F(ViewHandlersTest, AngleBarSetsItsTextToValueMinus90AndRedraws) {
  const std::pair<int, const char*> cases[] = {{0, "-90"}, {180, "90"}, {90, "0"}, {45, "-45"}};
  for (const auto& [value, text] : cases) {
    win.scrollValues[ScrollBar::HScroll_X] = value;
    AngleBarChanged(s, view, win, ScrollBar::HScroll_X);
    EXPECT_EQ(win.texts[TextBox::Text_AlfaX], text);
  }
  EXPECT_EQ(Redraws(), 4);
  win.scrollValues[ScrollBar::HScroll_Y] = 100;
  AngleBarChanged(s, view, win, ScrollBar::HScroll_Y);
  win.scrollValues[ScrollBar::HScroll_Z] = 10;
  AngleBarChanged(s, view, win, ScrollBar::HScroll_Z);
  EXPECT_EQ(win.texts[TextBox::Text_AlfaX], "-45");
  EXPECT_EQ(win.texts[TextBox::Text_AlfaY], "10");
  EXPECT_EQ(win.texts[TextBox::Text_AlfaZ], "-80");
}

TEST_F(ViewHandlersTest, RedrawUsesTheCurrentFlags) {
  AngleBarChanged(s, view, win, ScrollBar::HScroll_X);
  bool outlines = false;
  for (const DrawOp& op : win.canvas.ops) outlines = outlines || op.kind == DrawOp::LineTo;
  EXPECT_TRUE(outlines);

  win.canvas.ops.clear();
  s.ShowPanels = false;
  PictureClicked(s, view, win);
  for (const DrawOp& op : win.canvas.ops) EXPECT_NE(op.kind, DrawOp::LineTo);
}

TEST_F(ViewHandlersTest, ScaleBarSetsTheScaleTextAndRedraws) {
  win.scrollValues[ScrollBar::VScroll_Ölçek] = 8;
  ScaleBarChanged(s, view, win);
  EXPECT_EQ(win.texts[TextBox::Text_Ölçek], "8");
  EXPECT_EQ(Redraws(), 1);
  EXPECT_DOUBLE_EQ(Coordinates().c, 0.75);
}

TEST_F(ViewHandlersTest, PictureClickResetsTheAnglesButNotTheBars) {
  win.scrollValues[ScrollBar::HScroll_X] = 30;
  win.scrollValues[ScrollBar::HScroll_Y] = 150;
  win.scrollValues[ScrollBar::HScroll_Z] = 170;
  win.texts[TextBox::Text_AlfaX] = "-60";
  win.texts[TextBox::Text_AlfaY] = "60";
  win.texts[TextBox::Text_AlfaZ] = "80";
  PictureClicked(s, view, win);
  EXPECT_EQ(win.texts[TextBox::Text_AlfaX], "0");
  EXPECT_EQ(win.texts[TextBox::Text_AlfaY], "0");
  EXPECT_EQ(win.texts[TextBox::Text_AlfaZ], "0");
  EXPECT_EQ(win.scrollValues[ScrollBar::HScroll_X], 30);
  EXPECT_EQ(win.scrollValues[ScrollBar::HScroll_Y], 150);
  EXPECT_EQ(Redraws(), 1);
  // Unturned: the x axis lies along the picture's x direction.
  const DrawOp& xAxis = win.canvas.ops[win.canvas.ops.size() - 3];
  EXPECT_NEAR(xAxis.d, xAxis.b, 1e-12);

  // A later change of one bar sets only its own angle.
  AngleBarChanged(s, view, win, ScrollBar::HScroll_Y);
  EXPECT_EQ(win.texts[TextBox::Text_AlfaX], "0");
  EXPECT_EQ(win.texts[TextBox::Text_AlfaY], "60");
  EXPECT_EQ(win.texts[TextBox::Text_AlfaZ], "0");
}

}  // namespace
}  // namespace tarvenol::testing
