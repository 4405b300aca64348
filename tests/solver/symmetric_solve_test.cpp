// The solve by the body's symmetry against the full solve, which builds and eliminates every
// coefficient: both solve the same equations in another order of arithmetic, so they must agree
// to rounding. 1e-10 is the bound asked of them: rounding of systems of a few hundred equations
// whose diagonal is 0.5 stays near 1e-14, and the far field, which takes 30 of the pairs of
// rings of the sphere of 16 x 24 here, errs by at most 1e-11 on a row of the mode sums.

#include "solver/symmetric_solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fake_window.h"
#include "session/commands.h"
#include "geometry/body_figures.h"
#include "report/number_format.h"
#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::TempWorkDir;

constexpr double kAgreement = 1e-10;

// A body the way the user prepares it: the sphere, or a shipped example, with its panel counts.
struct Body {
  const char* file;  // nullptr for the sphere
  int ni, nj;        // a body file brings its own NI
};

std::string Name(const Body& b) {
  // Appended piece by piece: GCC 12 at -O3 sees a false overlap in "text" + std::string.
  std::string name = b.file != nullptr ? b.file : "sphere";
  return name.append(" ").append(std::to_string(b.ni)).append(" x ").append(std::to_string(b.nj));
}

// The six-decimal text of the report's sections 8 and 9.
std::string SixDecimals(double v) {
  char text[kMaxNumberText];
  return {text, FormatNumber(text, v, 6, '.')};
}

// Whether a rounding edge of six decimals (or zero, where the sign shows) lies between a and b.
bool RoundingEdgeBetween(double a, double b) {
  const double low = std::min(a, b) * 1e6, high = std::max(a, b) * 1e6;
  return std::floor(low + 0.5) != std::floor(high + 0.5) || (low < 0) != (high < 0);
}

class SymmetricSolveTest : public ::testing::Test {
 protected:
  void Prepare(const Body& b) {
    program = Program();
    StartUp(program, win);
    win.texts[TextBox::Text_NI] = std::to_string(b.ni);
    win.texts[TextBox::Text_NJ] = std::to_string(b.nj);
    if (b.file == nullptr) {
      PrepareSphere(program, win);
    } else {
      win.filePath = testing::ExamplesDir();
      win.fileName = b.file;
      PrepareBodyFile(program, win);
    }
    ASSERT_TRUE(win.messages.empty()) << win.messages.front();
  }

  TempWorkDir dir;
  FakeWindow win;
  Program program;
  IgnoredProgress unseen;
};

TEST_F(SymmetricSolveTest, AgreesWithTheFullSolveOnTheSphereAndEveryExample) {
  // Odd and even NJ (an even one has a column opposite its own), the fewest panels around, and
  // rings of triangles next to each other.
  const Body bodies[] = {
      {nullptr, 4, 4},          {nullptr, 2, 3},      {nullptr, 9, 3},
      {nullptr, 10, 12},        {nullptr, 13, 17},    {nullptr, 16, 24},
      {"spheroid.body", 0, 12}, {"ovoid.body", 0, 9}, {"ogive-cylinder.body", 0, 16}};
  int reportValues = 0, reportDiffering = 0;
  for (const Body& b : bodies) {
    SCOPED_TRACE(Name(b));
    Prepare(b);
    const ModelState& s = program.state;
    const auto onsets = IncidenceOnsetFlows(FiguresOfPanels(s).centreX);
    SolverWork work;
    const HessSolution full = HessSolve(s, work, onsets, unseen, {});
    const HessSolution symmetric = SymmetricSolve(s, onsets, unseen);
    ASSERT_EQ(full.zeroPivotRow, 0);
    ASSERT_EQ(symmetric.zeroPivotRow, 0);
    ASSERT_EQ(symmetric.nonFinitePanel, 0);
    ASSERT_EQ(symmetric.flows.size(), onsets.size());
    const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
    double worst = 0;
    for (std::size_t f = 0; f < onsets.size(); ++f) {
      const FlowSolution &a = full.flows[f], &b2 = symmetric.flows[f];
      for (int i = 1; i <= ni; ++i) {
        for (int j = 1; j <= nj; ++j) {
          worst =
              std::max({worst, std::fabs(a.Sigma(i, j) - b2.Sigma(i, j)),
                        std::fabs(a.Ut(i, j) - b2.Ut(i, j)), std::fabs(a.Vt(i, j) - b2.Vt(i, j))});
        }
      }
    }
    for (int i = 1; i <= ni; ++i) {
      for (int j = 1; j <= nj; ++j) {
        worst = std::max(worst, std::fabs(full.OneMinusCp(i, j) - symmetric.OneMinusCp(i, j)));
        // The report's values: the axial stream's source strengths and 1 - Cp.
        for (const auto& [x, y] :
             {std::pair(full.flows[0].Sigma(i, j), symmetric.flows[0].Sigma(i, j)),
              std::pair(full.OneMinusCp(i, j), symmetric.OneMinusCp(i, j))}) {
          ++reportValues;
          if (SixDecimals(x) == SixDecimals(y)) continue;
          ++reportDiffering;
          EXPECT_TRUE(RoundingEdgeBetween(x, y))
              << "panel (" << i << ", " << j << "): " << x << " against " << y;
        }
      }
    }
    EXPECT_LE(worst, kAgreement);
    std::printf("%s: largest difference %.1e\n", Name(b).c_str(), worst);
  }
  std::printf("six-decimal values of the report that differ: %d of %d\n", reportDiffering,
              reportValues);
}

// The largest difference of the source strengths, surface velocities and 1 - Cp of two
// solutions of the same panels.
double LargestDifference(const HessSolution& a, const HessSolution& b, int ni, int nj) {
  double worst = 0;
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) {
      worst = std::max(worst, std::fabs(a.OneMinusCp(i, j) - b.OneMinusCp(i, j)));
      for (std::size_t f = 0; f < a.flows.size(); ++f) {
        const FlowSolution &x = a.flows[f], &y = b.flows[f];
        worst = std::max({worst, std::fabs(x.Sigma(i, j) - y.Sigma(i, j)),
                          std::fabs(x.Ut(i, j) - y.Ut(i, j)), std::fabs(x.Vt(i, j) - y.Vt(i, j))});
      }
    }
  }
  return worst;
}

// The far field bounds each row's far sums by kRingFarFieldTolerance; the solution, through
// the inverse of the mode matrices (a few for these bodies), moves by less than 1e-9 of the
// stream, in every flow.
TEST_F(SymmetricSolveTest, FarFieldMovesTheSolutionByLessThan1e9) {
  const Body bodies[] = {{nullptr, 64, 128},
                         {nullptr, 256, 64},
                         {nullptr, 100, 360},
                         {"spheroid.body", 0, 128},
                         {"ovoid.body", 0, 360},
                         {"suboff.body", 0, 256},
                         {"ogive-cylinder.body", 0, 64}};
  for (const Body& b : bodies) {
    SCOPED_TRACE(Name(b));
    Prepare(b);
    const ModelState& s = program.state;
    const auto onsets = IncidenceOnsetFlows(FiguresOfPanels(s).centreX);
    const HessSolution near = SymmetricSolve(s, onsets, unseen, WidestVectorPath(), 0);
    const HessSolution far = SymmetricSolve(s, onsets, unseen);
    ASSERT_EQ(far.nonFinitePanel, 0);
    ASSERT_EQ(far.zeroPivotRow, 0);
    const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
    const double worst = LargestDifference(near, far, ni, nj);
    EXPECT_LE(worst, 1e-9);
    std::printf("%s: %.1f%% of the kernel calls, largest difference %.1e\n", Name(b).c_str(),
                100 * SymmetricSolveWork(s).kernelCalls / (1.0 * ni * ni * HalfColumns(nj)), worst);
  }
}

// Streams and turns out of the x-y plane, about axes through points off the body's axis, excite
// the sin parts of the modes, which the three flows of the solution leave at rounding.
TEST_F(SymmetricSolveTest, AgreesWithTheFullSolveInAnyStreamAndTurn) {
  const std::vector<OnsetFlow> onsets = {
      OnsetFlow{{0, 0, 1}, {}, {}}, OnsetFlow{{}, {0, 1, 0}, {0.5, 0, 0}},
      OnsetFlow{{0.3, -0.5, 0.8}, {0.2, 0.1, -0.4}, {0.4, 0.1, 0.2}}};
  for (const Body& b : {Body{nullptr, 10, 12}, Body{"ovoid.body", 0, 9}}) {
    SCOPED_TRACE(Name(b));
    Prepare(b);
    const ModelState& s = program.state;
    SolverWork work;
    const HessSolution full = HessSolve(s, work, onsets, unseen, {});
    const HessSolution symmetric = SymmetricSolve(s, onsets, unseen);
    double worst = 0;
    for (std::size_t f = 0; f < onsets.size(); ++f) {
      const FlowSolution &a = full.flows[f], &c = symmetric.flows[f];
      for (int i = 1; i <= LoopEnd(s.NI); ++i) {
        for (int j = 1; j <= LoopEnd(s.NJ); ++j) {
          worst =
              std::max({worst, std::fabs(a.Sigma(i, j) - c.Sigma(i, j)),
                        std::fabs(a.Ut(i, j) - c.Ut(i, j)), std::fabs(a.Vt(i, j) - c.Vt(i, j))});
        }
      }
    }
    EXPECT_LE(worst, kAgreement);
  }
}

}  // namespace
}  // namespace tarvenol
