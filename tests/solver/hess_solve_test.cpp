#include "solver/hess_solve.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/program_error.h"
#include "fake_window.h"
#include "session/commands.h"
#include "solver/influence_matrices.h"
#include "solver/source_panel_velocity.h"
#include "solver/vector_path.h"
#include "sphere_state.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;

// The constants of start-up and the free stream (1, 0, 0).
ModelState Constants() {
  ModelState s = testing::StartedState();
  s.VinfX = 1;
  return s;
}

// The report's onset flow alone: the stream (1, 0, 0).
std::vector<OnsetFlow> AxialStream() {
  return {OnsetFlow{{1, 0, 0}, {}, {}}};
}

// The sphere test case, prepared as the session prepares it, in the free stream (1, 0, 0).
ModelState Sphere(int ni, int nj) {
  ModelState s = testing::SphereState(ni, nj);
  s.VinfX = 1;
  return s;
}

class HessSolveTest : public ::testing::Test {
 protected:
  std::string Report() { return ReadFile(dir.path() / "Tarvenol.txt"); }
  // The sphere prepared and solved as the user does it, report included.
  void SolveSphere(int ni, int nj) {
    win.texts[TextBox::Text_NI] = std::to_string(ni);
    win.texts[TextBox::Text_NJ] = std::to_string(nj);
    PrepareSphere(program, win);
    ApplyHessMethod(program, win);
  }

  TempWorkDir dir;
  SolverWork work;
  IgnoredProgress unseen;
  FakeWindow win;
  Program program;
};

TEST_F(HessSolveTest, SphereOfFourByFourPanels) {
  ModelState s = Sphere(4, 4);
  s.OneMinusCp = HessSolve(s, work, AxialStream(), unseen, {}).OneMinusCp;
  const double sigma[] = {1.498630, 0.466134, -0.466134, -1.498630};
  const double oneMinusCp[] = {0.566509, 1.745069, 1.745069, 0.566509};
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) {
      SCOPED_TRACE(::testing::Message() << "panel (" << i << ", " << j << ")");
      EXPECT_NEAR(work.Sigma(i, j), sigma[i - 1], 5e-7);
      EXPECT_EQ(work.Sigma(i, j), work.SigmaV((i - 1) * 4 + j));
      EXPECT_NEAR(s.OneMinusCp(i, j), oneMinusCp[i - 1], 5e-7);
    }
  }
}

TEST_F(HessSolveTest, SphereOfTenByTwelvePanels) {
  ModelState s = Sphere(10, 12);
  s.OneMinusCp = HessSolve(s, work, AxialStream(), unseen, {}).OneMinusCp;
  const double half[] = {0.071819, 0.456543, 1.116004, 1.770804, 2.170009};
  for (int i = 1; i <= 10; ++i) {
    const double expected = half[i <= 5 ? i - 1 : 10 - i];
    for (int j = 1; j <= 12; ++j) EXPECT_NEAR(s.OneMinusCp(i, j), expected, 5e-7) << i << ", " << j;
  }
}

// The matrices as built, before the elimination overwrites Vn.
SolverWork Matrices(const ModelState& s, VectorPath path = WidestVectorPath()) {
  const int NPan = static_cast<int>(s.NI * s.NJ);
  const auto n = static_cast<std::size_t>(NPan);
  SolverWork w;
  w.Vn = Array2(n, n + 1);
  w.Vu = Array2(n, n + 1);
  w.Vv = Array2(n, n + 1);
  IgnoredProgress unseen;
  BuildInfluenceMatrices(s, w, NPan, AxialStream(), unseen, path);
  return w;
}

// The further onset flows ride along in the elimination without touching the axial stream's
// arithmetic: its strengths, velocities and 1 - Cp are the bits of a solve of it alone.
// The further onset flows ride along in the elimination without touching the axial stream's
// arithmetic: its strengths, velocities and 1 - Cp are the bits of a solve of it alone.
TEST_F(HessSolveTest, FurtherOnsetFlowsLeaveTheAxialStreamsBits) {
  const ModelState s = Sphere(12, 16);
  const HessSolution alone = HessSolve(s, work, AxialStream(), unseen, {});
  const HessSolution together = HessSolve(s, work, IncidenceOnsetFlows(0.5), unseen, {});
  ASSERT_EQ(together.flows.size(), 3u);
  const auto same = [](const Array2& a, const Array2& b) {
    return a.Size() == b.Size() && std::memcmp(&a(0, 0), &b(0, 0), a.Size() * sizeof(double)) == 0;
  };
  EXPECT_TRUE(same(alone.flows[0].Sigma, together.flows[0].Sigma));
  EXPECT_TRUE(same(alone.flows[0].Ut, together.flows[0].Ut));
  EXPECT_TRUE(same(alone.flows[0].Vt, together.flows[0].Vt));
  EXPECT_TRUE(same(alone.OneMinusCp, together.OneMinusCp));
}

// Across the sphere the exact flow is the axial one turned: 1 - Cp = 9/4 (1 - (d . r)^2) for a
// stream along d, r the unit vector to the control point. The transverse stream passes the
// nose and the tail at full speed, where the triangles meet at a point, so its largest error
// sits there and falls about as 1/N (0.072, 0.045, 0.025 at 12, 24, 48 panels along), unlike the
// axial stream's, which stagnates there (0.016, 0.0045, 0.0037).
TEST_F(HessSolveTest, TheTransverseStreamConvergesToTheTurnedSphereFlow) {
  std::vector<double> errors;
  for (const int n : {12, 24}) {
    const ModelState s = Sphere(n, n * 4 / 3);
    const FlowSolution across =
        HessSolve(s, work, IncidenceOnsetFlows(0.5), unseen, {}).flows[kTransverseStream];
    double error = 0;
    for (int i = 1; i <= n; ++i) {
      for (int j = 1; j <= n * 4 / 3; ++j) {
        const double x = s.xC(i, j) - 0.5, y = s.yC(i, j), z = s.zC(i, j);
        const double speed2 = across.Ut(i, j) * across.Ut(i, j) + across.Vt(i, j) * across.Vt(i, j);
        error = std::max(error, std::fabs(speed2 - 2.25 * (1 - y * y / (x * x + y * y + z * z))));
      }
    }
    errors.push_back(error);
  }
  EXPECT_LT(errors[0], 0.075);
  EXPECT_LT(errors[1], 0.65 * errors[0]);
}

TEST(InfluenceMatrices, SelfInfluenceAndRightHandSide) {
  const ModelState s = Sphere(6, 8);
  const SolverWork w = Matrices(s);
  for (int i = 1, m = 1; i <= 6; ++i) {
    for (int j = 1; j <= 8; ++j, ++m) {
      SCOPED_TRACE(::testing::Message() << "panel (" << i << ", " << j << ")");
      EXPECT_NEAR(w.Vn(m, m), 0.5, 1e-12);
      EXPECT_EQ(w.Vn(m, 49), -s.ZtaX(i, j));
      EXPECT_EQ(w.Vu(m, 49), 0);
      EXPECT_EQ(w.Vv(m, 49), 0);
      double u = 0, v = 0, wz = 0;
      SourcePanelVelocity(s, i, j, 0, 0, 0, u, v, wz);
      EXPECT_NEAR(w.Vu(m, m), u, 1e-12);
      EXPECT_NEAR(w.Vv(m, m), v, 1e-12);
    }
  }
}

// Every element on every vector path the CPU runs has the bits of the formula for one panel at
// one point, with rows and columns in panel order (1,1), (1,2), ... NJ = 13 puts panels of
// three and of four corners side by side in the vectors, and leaves a partial block at the end.
TEST(InfluenceMatrices, EveryVectorPathGivesTheOnePanelFormulasBits) {
  const int ni = 5, nj = 13, count = ni * nj;
  const ModelState s = Sphere(ni, nj);
  std::vector<std::pair<int, int>> order;
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) order.emplace_back(i, j);
  }
  for (const VectorPath path : VectorPathsOfThisCpu()) {
    SCOPED_TRACE(::testing::Message() << "vector path " << static_cast<int>(path));
    const SolverWork w = Matrices(s, path);
    int wrong = 0;
    for (int m = 1; m <= count; ++m) {
      const auto [i, j] = order[static_cast<std::size_t>(m - 1)];
      for (int n = 1; n <= count; ++n) {
        const auto [i2, j2] = order[static_cast<std::size_t>(n - 1)];
        const double dx = s.xC(i, j) - s.xC(i2, j2);
        const double dy = s.yC(i, j) - s.yC(i2, j2);
        const double dz = s.zC(i, j) - s.zC(i2, j2);
        double u = 0, v = 0, wz = 0;
        SourcePanelVelocity(
            s, i2, j2, s.XsiX(i2, j2) * dx + s.XsiY(i2, j2) * dy + s.XsiZ(i2, j2) * dz,
            s.ItaX(i2, j2) * dx + s.ItaY(i2, j2) * dy + s.ItaZ(i2, j2) * dz,
            s.ZtaX(i2, j2) * dx + s.ZtaY(i2, j2) * dy + s.ZtaZ(i2, j2) * dz, u, v, wz);
        const double Vx = s.XsiX(i2, j2) * u + s.ItaX(i2, j2) * v + s.ZtaX(i2, j2) * wz;
        const double Vy = s.XsiY(i2, j2) * u + s.ItaY(i2, j2) * v + s.ZtaY(i2, j2) * wz;
        const double Vz = s.XsiZ(i2, j2) * u + s.ItaZ(i2, j2) * v + s.ZtaZ(i2, j2) * wz;
        const double expected[] = {s.XsiX(i, j) * Vx + s.XsiY(i, j) * Vy + s.XsiZ(i, j) * Vz,
                                   s.ItaX(i, j) * Vx + s.ItaY(i, j) * Vy + s.ItaZ(i, j) * Vz,
                                   s.ZtaX(i, j) * Vx + s.ZtaY(i, j) * Vy + s.ZtaZ(i, j) * Vz};
        const double built[] = {w.Vu(m, n), w.Vv(m, n), w.Vn(m, n)};
        for (int c = 0; c < 3; ++c) {
          if (std::memcmp(&expected[c], &built[c], sizeof(double)) != 0 && ++wrong <= 5) {
            ADD_FAILURE() << "row " << m << ", column " << n << ": " << built[c] << " for "
                          << expected[c];
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

// Lines of the report between a title and the next empty line.
std::vector<std::string> SectionLines(const std::string& report, const std::string& title) {
  std::vector<std::string> lines;
  const std::size_t at = report.find("\r\n" + title + "\r\n\r\n");
  if (at == std::string::npos) return lines;
  std::size_t begin = at + title.size() + 6;
  for (std::size_t end; (end = report.find("\r\n", begin)) != begin && end != std::string::npos;
       begin = end + 2) {
    lines.push_back(report.substr(begin, end - begin));
  }
  return lines;
}

int Values(const std::string& line) {
  std::istringstream in(line);
  int count = 0;
  for (std::string value; in >> value;) ++count;
  return count;
}

TEST_F(HessSolveTest, AppendsTheFiveSectionsInOrder) {
  StartUp(program, win);
  win.texts[TextBox::Text_NI] = "2";
  win.texts[TextBox::Text_NJ] = "3";
  PrepareSphere(program, win);
  const std::string geometry = Report();
  ApplyHessMethod(program, win);
  const std::string report = Report();
  ASSERT_EQ(report.compare(0, geometry.size(), geometry), 0);
  const std::string solution = report.substr(geometry.size());
  EXPECT_EQ(solution.rfind("\r\nHess method - Normal velocities\r\n\r\n", 0), 0u);
  const struct {
    const char* title;
    std::size_t lines;
    int values;
  } sections[] = {{"Hess method - Normal velocities", 6, 7},
                  {"u Tangential velocities", 6, 6},
                  {"v Tangential velocities", 6, 6},
                  {"Source strengths", 2, 3},
                  {"1-Cp", 2, 3}};
  std::size_t previous = 0;
  for (const auto& section : sections) {
    SCOPED_TRACE(section.title);
    const std::size_t at = solution.find(std::string("\r\n") + section.title + "\r\n\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GE(at, previous);
    previous = at;
    const std::vector<std::string> lines = SectionLines(solution, section.title);
    ASSERT_EQ(lines.size(), section.lines);
    for (const std::string& line : lines) EXPECT_EQ(Values(line), section.values) << line;
  }
  EXPECT_EQ(SectionLines(solution, "Hess method - Normal velocities")[0].rfind(" 0.50 ", 0), 0u);
  EXPECT_EQ(solution.substr(solution.size() - 4), "  \r\n");
}

TEST_F(HessSolveTest, ReportIsTheSameBytesWithOneThreadAndWithSeveral) {
  // 256 panels: enough for the elimination to share its work between threads.
  std::string reports[2];
  for (const int threads : {1, 3}) {
    TempWorkDir run;
    program = {};
    StartUp(program, win);
    omp_set_num_threads(threads);
    SolveSphere(16, 16);
    reports[threads == 1 ? 0 : 1] = ReadFile(run.path() / "Tarvenol.txt");
  }
  omp_set_num_threads(omp_get_num_procs());
  EXPECT_GT(reports[0].size(), 1000000u);
  EXPECT_TRUE(reports[0] == reports[1]);
}

// Two panels in the same place make the second row a copy of the first, and the
// elimination meets a zero in pass 2 with a third equation below.
ModelState TwinPanels() {
  ModelState s = Constants();
  s.NI = 1;
  s.NI1 = 2;
  s.NJ = 3;
  s.NJ1 = 4;
  s.NCor = DenseArray<std::int16_t, 2>(1, 3);
  s.Xsi = Array3(1, 3, 4);
  s.Ita = Array3(1, 3, 4);
  for (Array3* a : {&s.xCor, &s.yCor, &s.zCor}) *a = Array3(2, 4, 4);  // for the drawing
  for (Array2* a : {&s.xC, &s.yC, &s.zC, &s.XsiX, &s.XsiY, &s.XsiZ, &s.ItaX, &s.ItaY, &s.ItaZ,
                    &s.ZtaX, &s.ZtaY, &s.ZtaZ}) {
    *a = Array2(1, 3);
  }
  const double corners[][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
  for (int j = 1; j <= 3; ++j) {
    s.NCor(1, j) = 4;
    for (int k = 1; k <= 4; ++k) {
      s.Xsi(1, j, k) = corners[k - 1][0];
      s.Ita(1, j, k) = corners[k - 1][1];
    }
    // Tilted axes, so that the free stream has a normal and two tangential components.
    s.XsiX(1, j) = 0.6;
    s.XsiZ(1, j) = -0.8;
    s.ItaY(1, j) = 1;
    s.ZtaX(1, j) = 0.8;
    s.ZtaZ(1, j) = 0.6;
  }
  s.zC(1, 3) = 5;
  return s;
}

TEST_F(HessSolveTest, AfterAZeroPivotEveryStrengthIsZeroAndAllSectionsAreWritten) {
  program.state = TwinPanels();
  program.state.GeometryReady = true;
  ApplyHessMethod(program, win);
  EXPECT_EQ(win.messages, std::vector<std::string>{" sıfır diyagonal elemanı"});
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(program.solver.Sigma(1, j), 0);
    EXPECT_EQ(program.state.OneMinusCp(1, j), 0.6 * 0.6);  // XsiX^2 + ItaX^2
  }
  const std::string report = Report();
  for (const char* title : {"Hess method - Normal velocities", "u Tangential velocities",
                            "v Tangential velocities", "Source strengths", "1-Cp"}) {
    EXPECT_NE(report.find(std::string("\r\n") + title + "\r\n"), std::string::npos) << title;
  }
  EXPECT_EQ(SectionLines(report, "Source strengths"), std::vector<std::string>{"0.0  0.0  0.0  "});
}

TEST_F(HessSolveTest, RefusesMatricesBeyondTheMemoryAndKeepsTheSolution) {
  ModelState s = Constants();
  s.NI = 1e6;
  s.NJ = 1e6;
  s.OneMinusCp = Array2(1, 1);
  s.OneMinusCp(1, 1) = 0.25;
  try {
    HessSolve(s, work, AxialStream(), unseen, {});
    ADD_FAILURE() << "no refusal";
  } catch (const ProgramError& e) {
    EXPECT_NE(std::string(e.what()).find("1000000000000 panels"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("would need"), std::string::npos) << e.what();
  }
  EXPECT_EQ(s.OneMinusCp(1, 1), 0.25);
  EXPECT_TRUE(work.Vn.Empty());
  EXPECT_EQ(Report(), "");
}

TEST_F(HessSolveTest, AReportThatCannotBeWrittenKeepsThePreviousSolution) {
  StartUp(program, win);
  SolveSphere(4, 4);
  const Array2 before = program.state.OneMinusCp;
  program.state.OneMinusCp(2, 3) = 0.25;  // not the solution the method would give again
  PrepareSphere(program, win);            // the same geometry again, to be solved again
  program.state.OutFile = (dir.path() / "no such folder" / "Tarvenol.txt").string();
  ApplyHessMethod(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_NE(win.messages[0].find("Cannot open the report file"), std::string::npos);
  EXPECT_EQ(program.state.OneMinusCp(2, 3), 0.25);
  EXPECT_EQ(program.state.OneMinusCp(1, 1), before(1, 1));
}

}  // namespace
}  // namespace tarvenol
