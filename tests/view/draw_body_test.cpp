#include "view/draw_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <string>

#include "core/text_number.h"
#include "sphere_state.h"

namespace tarvenol::testing {
namespace {

constexpr double kTol = 1e-12;

std::vector<DrawOp> OpsOf(const Drawing& drawing, DrawOp::Kind kind) {
  std::vector<DrawOp> found;
  for (const DrawOp& op : drawing.ops) {
    if (op.kind == kind) found.push_back(op);
  }
  return found;
}

void ExpectLine(const DrawOp& op, double x1, double y1, double x2, double y2, Colour colour) {
  EXPECT_EQ(op.kind, DrawOp::Line);
  EXPECT_NEAR(op.a, x1, kTol);
  EXPECT_NEAR(op.b, y1, kTol);
  EXPECT_NEAR(op.c, x2, kTol);
  EXPECT_NEAR(op.d, y2, kTol);
  EXPECT_EQ(op.colour, colour);
}

void ExpectCoordinates(const Drawing& drawing, double half) {
  const auto set = OpsOf(drawing, DrawOp::SetCoordinates);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_DOUBLE_EQ(set[0].a, -half);
  EXPECT_DOUBLE_EQ(set[0].b, half);
  EXPECT_DOUBLE_EQ(set[0].c, half);
  EXPECT_DOUBLE_EQ(set[0].d, -half);
}

TEST(RotationTest, TurnsAboutXThenYThenZ) {
  ViewWork w;
  const double quarter = std::atan(1.0) * 2;
  double x, y, z;
  BuildRotation(w, quarter, 0, 0);  // +y toward +z
  RotatePoint(w, 0, 1, 0, x, y, z);
  EXPECT_NEAR(x, 0, kTol);
  EXPECT_NEAR(y, 0, kTol);
  EXPECT_NEAR(z, 1, kTol);
  BuildRotation(w, 0, quarter, 0);  // +z toward +x
  RotatePoint(w, 0, 0, 1, x, y, z);
  EXPECT_NEAR(x, 1, kTol);
  EXPECT_NEAR(z, 0, kTol);
  BuildRotation(w, 0, 0, quarter);  // +x toward +y
  RotatePoint(w, 1, 0, 0, x, y, z);
  EXPECT_NEAR(x, 0, kTol);
  EXPECT_NEAR(y, 1, kTol);
  // About x first: +y goes to +z, which the turn about y then carries to +x.
  BuildRotation(w, quarter, quarter, 0);
  RotatePoint(w, 0, 1, 0, x, y, z);
  EXPECT_NEAR(x, 1, kTol);
  EXPECT_NEAR(y, 0, kTol);
  EXPECT_NEAR(z, 0, kTol);
}

TEST(RotationTest, IsTheProductOfTheThreeTurns) {
  const double ax = 0.3, ay = -1.1, az = 2.4;
  using M = std::array<std::array<double, 3>, 3>;
  const M rx{{{1, 0, 0}, {0, std::cos(ax), -std::sin(ax)}, {0, std::sin(ax), std::cos(ax)}}};
  const M ry{{{std::cos(ay), 0, std::sin(ay)}, {0, 1, 0}, {-std::sin(ay), 0, std::cos(ay)}}};
  const M rz{{{std::cos(az), -std::sin(az), 0}, {std::sin(az), std::cos(az), 0}, {0, 0, 1}}};
  const auto mul = [](const M& a, const M& b) {
    M c{};
    for (std::size_t i = 0; i < 3; ++i) {
      for (std::size_t j = 0; j < 3; ++j) {
        for (std::size_t k = 0; k < 3; ++k) c[i][j] += a[i][k] * b[k][j];
      }
    }
    return c;
  };
  const M r = mul(rz, mul(ry, rx));
  ViewWork w;
  BuildRotation(w, ax, ay, az);
  const double got[3][3] = {
      {w.Rot11, w.Rot12, w.Rot13}, {w.Rot21, w.Rot22, w.Rot23}, {w.Rot31, w.Rot32, w.Rot33}};
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(got[i][j], r[i][j], kTol) << i << ", " << j;
  }
}

class DrawBodyTest : public ::testing::Test {
 protected:
  // Drawn with the numbers the view's boxes begin with, as the session reads them.
  void Draw(const ModelState& s) {
    const ViewSettings settings{TextToNumber(alfaX), TextToNumber(alfaY), TextToNumber(alfaZ),
                                TextToNumber(scale)};
    drawing = DrawBody(s, view, settings, s.ShowPanels, s.ShowSolution);
  }

  // What the angle and scale boxes hold.
  std::string alfaX = "0", alfaY = "0", alfaZ = "0", scale = "1";
  ViewWork view;
  Drawing drawing;
};

TEST_F(DrawBodyTest, BeforeAnyGeometryOnlyTheAxesFromTheCentre) {
  Draw(StartedState());
  const auto& ops = drawing.ops;
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(ops[0].kind, DrawOp::Clear);
  EXPECT_EQ(ops[1].kind, DrawOp::SetCoordinates);
  ExpectLine(ops[2], 0, 0, 5, 0, kRed);
  ExpectLine(ops[3], 0, 0, 0, 0, kGreen);
  ExpectLine(ops[4], 0, 0, 0, 5, kBlue);
}

TEST_F(DrawBodyTest, UnturnedSphereIsCentred) {
  const ModelState s = SphereState(4, 4);
  Draw(s);
  // The sphere lies in x 0..1 and z -0.5..0.5, so x moves by -0.5 and z stays.
  const auto& ops = drawing.ops;
  ASSERT_GE(ops.size(), 3u);
  ExpectLine(ops[ops.size() - 3], -0.5, 0, 4.5, 0, kRed);
  ExpectLine(ops[ops.size() - 2], -0.5, 0, -0.5, 0, kGreen);
  ExpectLine(ops[ops.size() - 1], -0.5, 0, -0.5, 5, kBlue);
  double xLow = 1, xHigh = -1, zLow = 1, zHigh = -1;
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::PlotPoint && op.kind != DrawOp::LineTo) continue;
    xLow = std::min(xLow, op.a);
    xHigh = std::max(xHigh, op.a);
    zLow = std::min(zLow, op.b);
    zHigh = std::max(zHigh, op.b);
  }
  EXPECT_NEAR(xLow, -0.5, kTol);
  EXPECT_NEAR(xHigh, 0.5, kTol);
  EXPECT_NEAR(zLow, -0.5, kTol);
  EXPECT_NEAR(zHigh, 0.5, kTol);
  // The first corner of panel (1, 1) is the nose.
  const auto points = OpsOf(drawing, DrawOp::PlotPoint);
  ASSERT_FALSE(points.empty());
  EXPECT_NEAR(points[0].a, -0.5, kTol);
  EXPECT_NEAR(points[0].b, 0, kTol);
}

TEST_F(DrawBodyTest, ClearsFirstThenSetsTheScaledSquare) {
  const ModelState s = SphereState(4, 4);
  for (const auto& [text, half] : {std::pair{"1", 6.0}, {"2", 3.0}, {"8", 0.75}}) {
    drawing.ops.clear();
    scale = text;
    Draw(s);
    ASSERT_GE(drawing.ops.size(), 2u);
    EXPECT_EQ(drawing.ops[0].kind, DrawOp::Clear);
    EXPECT_EQ(drawing.ops[1].kind, DrawOp::SetCoordinates);
    ExpectCoordinates(drawing, half);
  }
}

TEST_F(DrawBodyTest, OpenRedOutlinesTwoSegmentsForTrianglesThreeForQuadrilaterals) {
  const ModelState s = SphereState(4, 5);
  Draw(s);
  const auto& ops = drawing.ops;
  std::vector<int> segmentsPerPanel;
  for (const DrawOp& op : ops) {
    if (op.kind == DrawOp::PlotPoint) segmentsPerPanel.push_back(0);
    if (op.kind == DrawOp::LineTo) {
      ASSERT_FALSE(segmentsPerPanel.empty());
      ++segmentsPerPanel.back();
      EXPECT_EQ(op.colour, kRed);
    }
  }
  // Panels come row by row: rows 1 and 4 are triangles.
  ASSERT_EQ(segmentsPerPanel.size(), 20u);
  for (std::size_t n = 0; n < segmentsPerPanel.size(); ++n) {
    const std::size_t row = n / 5 + 1;
    EXPECT_EQ(segmentsPerPanel[n], row == 1 || row == 4 ? 2 : 3) << "panel " << n;
  }
  // Without a solution the only lines are the three axes.
  EXPECT_EQ(OpsOf(drawing, DrawOp::Line).size(), 3u);
}

TEST_F(DrawBodyTest, NoOutlinesWhenPanelsAreNotShown) {
  ModelState s = SphereState(4, 4);
  s.ShowPanels = false;
  Draw(s);
  EXPECT_TRUE(OpsOf(drawing, DrawOp::PlotPoint).empty());
  EXPECT_TRUE(OpsOf(drawing, DrawOp::LineTo).empty());
}

class MeshTest : public DrawBodyTest {
 protected:
  // 1 - Cp filled by hand, different on every panel.
  static ModelState Solved(double ni, double nj) {
    ModelState s = SphereState(ni, nj);
    s.OneMinusCp = Array2(ArrayLimit(ni), ArrayLimit(nj));
    for (int i = 1; i <= ni; ++i) {
      for (int j = 1; j <= nj; ++j) s.OneMinusCp(i, j) = 0.1 * i + 0.01 * j;
    }
    s.ShowSolution = true;
    return s;
  }
  // The displaced control point of panel (i, j), unturned and moved by the centring
  // offsets, which the axes show as their starting point (-xMid, -zMid).
  std::pair<double, double> P(const ModelState& s, int i, int j) const {
    const DrawOp& axis = drawing.ops.back();
    return {s.xC(i, j) + s.OneMinusCp(i, j) * s.ZtaX(i, j) + axis.a,
            s.zC(i, j) + s.OneMinusCp(i, j) * s.ZtaZ(i, j) + axis.b};
  }
};

TEST_F(MeshTest, ClosedRingsThenMeridianLinesInBlueBeforeTheAxes) {
  const int ni = 4, nj = 3;
  const ModelState s = Solved(ni, nj);
  Draw(s);
  const auto lines = OpsOf(drawing, DrawOp::Line);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(ni * nj + nj * (ni - 1) + 3));
  std::size_t n = 0;
  const auto expect = [&](int i1, int j1, int i2, int j2) {
    const auto [x1, z1] = P(s, i1, j1);
    const auto [x2, z2] = P(s, i2, j2);
    SCOPED_TRACE(::testing::Message() << "line " << n << ": (" << i1 << ", " << j1 << ") to (" << i2
                                      << ", " << j2 << ")");
    ExpectLine(lines[n++], x1, z1, x2, z2, kBlue);
  };
  for (int i = 1; i <= ni; ++i) {
    for (int j = 2; j <= nj; ++j) expect(i, j - 1, i, j);
    expect(i, nj, i, 1);
  }
  for (int j = 1; j <= nj; ++j) {
    for (int i = 2; i <= ni; ++i) expect(i - 1, j, i, j);
  }
  // The axes follow the mesh.
  EXPECT_EQ(lines[n].colour, kRed);
  EXPECT_EQ(lines[n + 1].colour, kGreen);
  EXPECT_EQ(lines[n + 2].colour, kBlue);
  EXPECT_EQ(drawing.ops.back().kind, DrawOp::Line);
}

TEST_F(MeshTest, WithOneMeridianEachRingIsOneClosingLine) {
  ModelState s = Solved(4, 2);
  s.NJ = 1;
  s.NJ1 = 2;
  Draw(s);
  const auto lines = OpsOf(drawing, DrawOp::Line);
  ASSERT_EQ(lines.size(), 4u + 3u + 3u);
  for (int i = 1; i <= 4; ++i) {
    const auto [x, z] = P(s, i, 1);
    ExpectLine(lines[static_cast<std::size_t>(i - 1)], x, z, x, z, kBlue);
  }
}

TEST_F(DrawBodyTest, AnglesFromTheTextsInDegrees) {
  alfaY = "30.5";  // turns +z toward +x, so +x toward -z
  Draw(StartedState());
  const double a = 30.5 * std::atan(1.0) * 4 / 180;
  const auto lines = OpsOf(drawing, DrawOp::Line);
  ASSERT_EQ(lines.size(), 3u);
  ExpectLine(lines[0], 0, 0, 5 * std::cos(a), -5 * std::sin(a), kRed);
  ExpectLine(lines[2], 0, 0, 5 * std::sin(a), 5 * std::cos(a), kBlue);
}

TEST_F(DrawBodyTest, AngleTextsWithoutAFiniteNumberCountAsZero) {
  for (const char* text : {"abc", "", "1e999", "-1e400"}) {
    drawing.ops.clear();
    alfaX = text;
    alfaY = text;
    alfaZ = text;
    Draw(StartedState());
    const auto lines = OpsOf(drawing, DrawOp::Line);
    ASSERT_EQ(lines.size(), 3u) << text;
    ExpectLine(lines[0], 0, 0, 5, 0, kRed);
    ExpectLine(lines[2], 0, 0, 0, 5, kBlue);
  }
}

TEST_F(DrawBodyTest, UnusableScaleTextDrawsAtScaleOne) {
  const ModelState s = SphereState(4, 4);
  for (const char* text : {"0", "-2", "abc", "", "1e999", "1e-308", "0.0"}) {
    SCOPED_TRACE(text);
    drawing.ops.clear();
    scale = text;
    Draw(s);
    ExpectCoordinates(drawing, 6);
    // The picture is drawn, not left blank.
    EXPECT_EQ(OpsOf(drawing, DrawOp::PlotPoint).size(), 16u);
    EXPECT_EQ(OpsOf(drawing, DrawOp::Line).size(), 3u);
  }
  drawing.ops.clear();
  scale = "2.5 times";
  Draw(s);
  ExpectCoordinates(drawing, 6 / 2.5);
}

TEST_F(DrawBodyTest, RedrawReplacesTheWorkArraysForANewSize) {
  Draw(SphereState(4, 4));
  const ModelState bigger = SphereState(6, 8);
  drawing.ops.clear();
  Draw(bigger);
  EXPECT_EQ(view.xRot.Limit(0), 7u);
  EXPECT_EQ(view.xRot.Limit(1), 9u);
  EXPECT_EQ(view.xTipRot.Limit(0), 6u);
  EXPECT_EQ(OpsOf(drawing, DrawOp::PlotPoint).size(), 48u);
}

}  // namespace
}  // namespace tarvenol::testing
