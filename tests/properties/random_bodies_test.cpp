// Properties of the whole computation on random smooth bodies, and convergence towards the
// exact flow around a sphere as the panels get finer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "fake_window.h"
#include "session/commands.h"
#include "geometry/panel_outline.h"
#include "solver/influence_matrices.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::TempWorkDir;

// A closed profile from nose (x = 0) to tail (x = length), both ends on the axis, with
// radius R sin t (1 + a cos t + b cos 2t) at x = length (1 - cos t) / 2; |a| + |b| < 1 keeps
// the radius positive between the ends.
std::string RandomBody(std::mt19937& random, int points) {
  std::uniform_real_distribution<double> length(0.5, 4), radius(0.1, 1), mode(-0.45, 0.45);
  const double L = length(random), R = radius(random), a = mode(random), b = mode(random);
  std::string text = "\"random body\"\n" + std::to_string(points) + "\n\"n, x, r\"\n";
  for (int k = 0; k < points; ++k) {
    const double t = M_PI * k / (points - 1);
    double r = R * std::sin(t) * (1 + a * std::cos(t) + b * std::cos(2 * t));
    if (k == 0 || k == points - 1) r = 0;
    char line[128];
    std::snprintf(line, sizeof line, "%d,%.17g,%.17g\n", k + 1, L * (1 - std::cos(t)) / 2, r);
    text += line;
  }
  return text;
}

TEST(RandomBodies, PanelsSourcesAndPressureBehave) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> ni(2, 40), nj(3, 40);
  for (int trial = 0; trial < 8; ++trial) {
    int NI = ni(random), NJ = nj(random);
    while (NI * NJ > 500) NJ = std::max(3, NJ / 2);  // keeps the sanitizer run short
    SCOPED_TRACE("trial " + std::to_string(trial) + ": NI = " + std::to_string(NI) +
                 ", NJ = " + std::to_string(NJ));
    TempWorkDir dir;
    testing::WriteFile(dir.path() / "random.body", RandomBody(random, NI + 1));
    Program p;
    FakeWindow win;
    StartUp(p, win);
    win.texts[TextBox::Text_NJ] = std::to_string(NJ);
    win.filePath = dir.path().string();
    win.fileName = "random.body";
    PrepareBodyFile(p, win);
    ASSERT_TRUE(win.messages.empty()) << win.messages[0];
    const ModelState& s = p.state;
    ASSERT_EQ(s.NI, NI);

    // Every panel's control point lies inside it, so it induces exactly half its own source
    // strength normal to itself; the right-hand side is the stream's normal component.
    SolverWork influence;
    const int NPan = NI * NJ;
    influence.Vn = Array2(NPan, NPan + 1);
    influence.Vu = Array2(NPan, NPan + 1);
    influence.Vv = Array2(NPan, NPan + 1);
    p.state.VinfX = 1;
    IgnoredProgress unseen;
    BuildInfluenceMatrices(p.state, influence, NPan, {OnsetFlow{{1, 0, 0}, {}, {}}}, unseen);
    for (int m = 1; m <= NPan; ++m) {
      const int i = (m - 1) / NJ + 1, j = (m - 1) % NJ + 1;
      EXPECT_NEAR(influence.Vn(m, m), 0.5, 1e-12) << m;
      EXPECT_EQ(influence.Vn(m, NPan + 1), -s.ZtaX(i, j)) << m;
    }

    ApplyHessMethod(p, win);
    ASSERT_TRUE(win.messages.empty()) << win.messages[0];
    double net = 0, gross = 0;
    for (int i = 1; i <= NI; ++i) {
      for (int j = 1; j <= NJ; ++j) {
        const double sigma = p.solver.Sigma(i, j), area = OutlineArea(OutlineOfPanel(s, i, j));
        ASSERT_TRUE(std::isfinite(sigma));
        EXPECT_GE(s.OneMinusCp(i, j), 0);
        EXPECT_TRUE(std::isfinite(s.OneMinusCp(i, j)));
        EXPECT_NEAR(s.Xsi(i, j, 1) + s.Xsi(i, j, 2) + s.Xsi(i, j, 3) + s.Xsi(i, j, 4), 0, 1e-12);
        net += sigma * area;
        gross += std::fabs(sigma) * area;
      }
    }
    // A closed body holds no net source.
    EXPECT_LT(std::fabs(net), 0.05 * gross) << net << " of " << gross;
  }
}

// Largest difference between 1 - Cp and the exact 2.25 sin^2 theta on the sphere.
double SphereError(int n) {
  TempWorkDir dir;
  Program p;
  FakeWindow win;
  StartUp(p, win);
  win.texts[TextBox::Text_NI] = std::to_string(n);
  win.texts[TextBox::Text_NJ] = std::to_string(n);
  PrepareSphere(p, win);
  ApplyHessMethod(p, win);
  EXPECT_TRUE(win.messages.empty());
  const ModelState& s = p.state;
  double error = 0;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) {
      const double x = s.xC(i, j) - 0.5, y = s.yC(i, j), z = s.zC(i, j);
      const double sin2 = (y * y + z * z) / (x * x + y * y + z * z);
      error = std::max(error, std::fabs(s.OneMinusCp(i, j) - 2.25 * sin2));
    }
  }
  return error;
}

TEST(SphereConvergence, TheLargestErrorShrinksAsThePanelsGetFiner) {
  const double e8 = SphereError(8), e16 = SphereError(16), e32 = SphereError(32);
  EXPECT_LT(e16, e8);
  EXPECT_LT(e32, e16);
  EXPECT_LT(e32, 0.1);
  std::printf("largest error of 1 - Cp: %.4f (8 x 8), %.4f (16 x 16), %.4f (32 x 32)\n", e8, e16,
              e32);
}

}  // namespace
}  // namespace tarvenol
