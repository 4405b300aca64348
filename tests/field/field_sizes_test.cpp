// The flow around bodies of every size the program takes (1e-30 to 1e30), and at points as far
// away as a double reaches: every velocity a finite number, the field the same as at size 1 (the
// flow does not change with the scale), and the free stream alone where the body's sources fall
// below what a double holds beside it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "fake_window.h"
#include "session/commands.h"
#include "field/body_flow.h"
#include "field/field_grid.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::TempWorkDir;

// An ellipsoid of length scale and axis ratio 3 in 21 points.
std::string Ellipsoid(double scale) {
  std::string text = "0\n21\n0\n";
  for (int k = 0; k <= 20; ++k) {
    const double t = std::numbers::pi * k / 20;
    char line[96];
    std::snprintf(line, sizeof line, "%d,%.17g,%.17g\n", k + 1, scale * (1 - std::cos(t)) / 2,
                  k == 0 || k == 20 ? 0.0 : scale * std::sin(t) / 6);
    text += line;
  }
  return text;
}

struct Solved {
  TempWorkDir dir;
  Program program;
  explicit Solved(double scale) {
    FakeWindow win;
    StartUp(program, win);
    win.texts[TextBox::Text_NJ] = std::string("8");  // moved in: GCC 12 at -O3 warns otherwise
    testing::WriteFile(dir.path() / "body.body", Ellipsoid(scale));
    win.filePath = dir.path().string();
    win.fileName = "body.body";
    PrepareBodyFile(program, win);
    ApplyHessMethod(program, win);
    EXPECT_TRUE(win.messages.empty()) << win.messages.front();
  }
};

bool Finite(const StreamVelocities& V) {
  for (const Vector3& v : V) {
    for (const double c : v) {
      if (!std::isfinite(c)) return false;
    }
  }
  return true;
}

TEST(FieldSizes, TheFieldOfEverySizeIsTheFieldOfSizeOne) {
  IgnoredProgress unseen;
  const Solved unit(1);
  const BodyFlow unitFlow(unit.program.state, unit.program.body, unit.program.solution);
  const FieldGrid reference =
      ComputeFieldGrid(unitFlow, GridAroundBody(unitFlow.Shape(), 40, 30), unseen);
  for (const double scale : {1e-30, 1e-20, 1e-15, 1e15, 1e20, 1e30}) {
    SCOPED_TRACE(::testing::Message() << "size " << scale);
    const Solved body(scale);
    const BodyFlow flow(body.program.state, body.program.body, body.program.solution);
    const FieldGrid grid = ComputeFieldGrid(flow, GridAroundBody(flow.Shape(), 40, 30), unseen);
    double worst = 0;
    int masked = 0;
    for (int j = 1; j <= 30; ++j) {
      for (int i = 1; i <= 40; ++i) {
        masked += grid.masked(i, j);
        if (grid.masked(i, j) != 0 || reference.masked(i, j) != 0) continue;
        for (std::size_t f = 0; f < 2; ++f) {
          for (std::size_t c = 0; c < 3; ++c) {
            ASSERT_TRUE(std::isfinite(grid.V[f][c](i, j))) << i << ", " << j;
            worst = std::max(worst, std::fabs(grid.V[f][c](i, j) - reference.V[f][c](i, j)));
          }
        }
      }
    }
    EXPECT_GT(masked, 0);
    // Both fields lie within the expansions' bound of their direct sums, which differ by the
    // rounding of the scaled profile.
    EXPECT_LE(worst, 2 * kFarFieldTolerance);
  }
}

TEST(FieldSizes, FarPointsOfEverySizeSeeTheFreeStream) {
  for (const double scale : {1e-30, 1.0, 1e30}) {
    const Solved body(scale);
    for (const double tolerance : {kFarFieldTolerance, 0.0}) {
      const BodyFlow flow(body.program.state, body.program.body, body.program.solution, tolerance);
      for (const double distance : {2.0, 1e6, 1e20, 1e111, 1e200, 1.7e308}) {
        SCOPED_TRACE(::testing::Message() << "size " << scale << ", tolerance " << tolerance
                                          << ", at " << distance << " sizes");
        const double d = std::min(distance * scale, 1.7e308);
        for (const Vector3& p : {Vector3{-d, 0, 0}, Vector3{d, d, 0}, Vector3{0, -d, d}}) {
          StreamVelocities V{};
          ASSERT_TRUE(flow.VelocityAt(p[0], p[1], p[2], V));
          EXPECT_TRUE(Finite(V));
          if (distance >= 1e20) {
            EXPECT_EQ(V[kAxialStream], (Vector3{1, 0, 0}));
            EXPECT_EQ(V[kTransverseStream], (Vector3{0, 1, 0}));
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvenol
