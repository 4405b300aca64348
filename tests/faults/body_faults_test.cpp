// Body files that are not what they should be, and sizes beyond the machine: the program
// refuses or warns, never crashes or hangs, and keeps what it had.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <vector>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "fake_window.h"
#include "session/commands.h"
#include "solver/symmetric_solve.h"
#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::TempWorkDir;
using testing::WriteFile;

namespace fs = std::filesystem;

class BodyFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(program, win);
    PrepareSphere(program, win);
    ApplyHessMethod(program, win);
    ASSERT_TRUE(win.messages.empty());
    report = testing::ReadFile(dir.path() / "Tarvenol.txt");
    win.filePath = dir.path().string();
  }

  // The file is refused with a message holding fault; nothing of the solved sphere changes.
  void ExpectRefused(const std::string& name, const std::string& fault) {
    win.messages.clear();
    win.fileName = name;
    const double pressure = program.state.OneMinusCp(2, 2);
    PrepareBodyFile(program, win);
    ASSERT_EQ(win.messages.size(), 1u) << name;
    EXPECT_NE(win.messages[0].find(name), std::string::npos) << win.messages[0];
    EXPECT_NE(win.messages[0].find(fault), std::string::npos) << win.messages[0];
    EXPECT_EQ(program.state.NI, 4);
    EXPECT_EQ(program.state.OneMinusCp(2, 2), pressure);
    EXPECT_TRUE(program.state.ShowSolution);
    EXPECT_EQ(testing::ReadFile(dir.path() / "Tarvenol.txt"), report);
  }

  // The file is taken, with the warnings given, and the method applies to it.
  void ExpectWarnedAndSolved(const std::string& name, const std::string& profile,
                             const std::vector<std::string>& warnings) {
    WriteFile(dir.path() / name, profile);
    win.messages.clear();
    win.fileName = name;
    PrepareBodyFile(program, win);
    ASSERT_EQ(win.messages.size(), warnings.size()) << name;
    for (std::size_t n = 0; n < warnings.size(); ++n) {
      EXPECT_NE(win.messages[n].find(warnings[n]), std::string::npos) << win.messages[n];
    }
    ASSERT_TRUE(program.state.GeometryReady);
    win.messages.clear();
    ApplyHessMethod(program, win);
    for (const auto& m : win.messages) EXPECT_EQ(m, " sıfır diyagonal elemanı");
    for (int i = 1; i <= LoopEnd(program.state.NI); ++i) {
      for (int j = 1; j <= LoopEnd(program.state.NJ); ++j) {
        EXPECT_TRUE(std::isfinite(program.state.OneMinusCp(i, j))) << i << ", " << j;
      }
    }
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
  std::string report;
};

TEST_F(BodyFaults, AFileThatVanishedOrIsAFolder) {
  ExpectRefused("vanished.body", "cannot be opened: No such file or directory");
  fs::create_directory(dir.path() / "folder.body");
  ExpectRefused("folder.body", "cannot be read: Is a directory");
}

TEST_F(BodyFaults, AHugeFileOfGarbageIsRefusedAtItsFirstBadValue) {
  std::mt19937 random(7);
  std::string garbage(16 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  garbage.replace(0, 8, "0,5,0,1,");
  WriteFile(dir.path() / "garbage.body", garbage);
  ExpectRefused("garbage.body", "line 1, value 5: \"");
  // Only printable characters reach the message.
  EXPECT_EQ(Shown(win.messages[0], std::string::npos), "\"" + win.messages[0] + "\"");
  WriteFile(dir.path() / "digits.body", "0,5,0,1," + std::string(16 << 20, '7'));
  ExpectRefused("digits.body", "a value longer than any number");
}

TEST_F(BodyFaults, NotANumberOrInfinity) {
  WriteFile(dir.path() / "nan.body", "0\n3\n0\n1,0,0\n2,nan,0.5\n3,1,0\n");
  ExpectRefused("nan.body", "\"nan\" is not a number (x of point 2 of 3)");
  WriteFile(dir.path() / "inf.body", "0\n3\n0\n1,0,0\n2,0.5,inf\n3,1,0\n");
  ExpectRefused("inf.body", "\"inf\" is not a number (r of point 2 of 3)");
  WriteFile(dir.path() / "huge.body", "0\n3\n0\n1,0,0\n2,0.5,1e400\n3,1,0\n");
  ExpectRefused("huge.body", "\"1e400\" is too large (r of point 2 of 3)");
  WriteFile(dir.path() / "count.body", "0\n1e400\n0\n");
  ExpectRefused("count.body", "\"1e400\" is too large (the number of profile points)");
}

TEST_F(BodyFaults, AFilesPointsTimesTheTypedNJBeyondTheMachinesMemory) {
  // 41 points and a million panels around: about 40 GiB, refused before the grid is made.
  win.texts[TextBox::Text_NJ] = "1000000";
  win.filePath = testing::ExamplesDir();
  win.fileName = "spheroid.body";
  PrepareBodyFile(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(win.messages[0].rfind("This geometry would need", 0), 0u) << win.messages[0];
  EXPECT_EQ(program.state.NI, 4);
  EXPECT_EQ(win.texts[TextBox::Text_NI], "4");
  EXPECT_EQ(testing::ReadFile(dir.path() / "Tarvenol.txt"), report);
}

TEST_F(BodyFaults, AProfileFromTailToNoseIsWarnedAboutButTaken) {
  ExpectWarnedAndSolved("reversed.body",
                        "0\n5\n0\n1,1,0\n2,0.75,0.3\n3,0.5,0.4\n4,0.25,0.3\n5,0,0\n",
                        {"runs from tail to nose (x goes from 1 to 0)"});
}

TEST_F(BodyFaults, EndsOffTheAxisAreWarnedAboutButTaken) {
  ExpectWarnedAndSolved(
      "open.body", "0\n5\n0\n1,0,0.2\n2,0.25,0.3\n3,0.5,0.4\n4,0.75,0.3\n5,1,0.1\n",
      {"its first point has r = 0.2, so the body is open there", "its last point has r = 0.1"});
}

// Its end rings are closed by triangles with a corner on one side of their column's middle:
// the solve by the symmetry, which takes every panel for its own mirror image, would be wrong
// there by a few hundredths of 1 - Cp, so it refuses the body and everything stays.
TEST_F(BodyFaults, EndsOffTheAxisAreRefusedByTheSolveBySymmetry) {
  WriteFile(dir.path() / "open.body",
            "0\n5\n0\n1,0,0.2\n2,0.25,0.3\n3,0.5,0.4\n4,0.75,0.3\n5,1,0\n");
  win.fileName = "open.body";
  PrepareBodyFile(program, win);
  ASSERT_TRUE(program.state.GeometryReady);
  const std::string geometry = testing::ReadFile(dir.path() / "Tarvenol.txt");
  win.messages.clear();
  IgnoredProgress unseen;
  RunOperation(program, win, PlanSolve(program, win, SolveKind::Symmetric), unseen);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("by the body's symmetry needs a profile that ends on the axis, "
                                 "but the first point of the profile of"),
            std::string::npos)
      << win.messages[0];
  EXPECT_EQ(testing::ReadFile(dir.path() / "Tarvenol.txt"), geometry);
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_THROW(SymmetricSolve(program.state, IncidenceOnsetFlows(0), unseen), ProgramError);
}

TEST_F(BodyFaults, AProfileThatCrossesTheAxisIsWarnedAbout) {
  ExpectWarnedAndSolved("crossing.body",
                        "0\n5\n0\n1,0,0\n2,0.25,0.3\n3,0.5,-0.4\n4,0.75,0.3\n5,1,0\n",
                        {"crosses the axis between points 2 and 3 (r goes from 0.3 to -0.4)"});
}

TEST_F(BodyFaults, APanelCountBeyondTheMachinesMemoryIsRefusedBeforeSolving) {
  // 40000 panels: three matrices of 40001 x 40002 numbers, about 36 GiB. The solve by the
  // body's symmetry is offered instead; declined, nothing is done.
  win.texts[TextBox::Text_NI] = "200";
  win.texts[TextBox::Text_NJ] = "200";
  PrepareSphere(program, win);
  ASSERT_TRUE(win.messages.empty());
  const double pressure = program.state.OneMinusCp(2, 2);
  const std::string before = testing::ReadFile(dir.path() / "Tarvenol.txt");
  win.answer = false;
  ApplyHessMethod(program, win);
  EXPECT_TRUE(win.messages.empty());
  ASSERT_EQ(win.questions.size(), 1u);
  EXPECT_NE(win.questions[0].find("40000 panels needs 35.8 GiB for the full matrices, but only"),
            std::string::npos)
      << win.questions[0];
  EXPECT_EQ(program.state.OneMinusCp(2, 2), pressure);
  EXPECT_EQ(program.state.OneMinusCp.Limit(0), 4u);
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_EQ(program.state.VinfX, 1);  // set by the solution before
  EXPECT_EQ(testing::ReadFile(dir.path() / "Tarvenol.txt"), before);
}

// A body of revolution of 21 profile points, x = scale * (1 - cos t) / 2, r = radius * sin t,
// t = pi k / 20, but where a point k is put at another t, in twentieths of pi.
std::string Profile(double scale, double radius, const std::map<int, double>& moved = {}) {
  std::string text = "0\n21\n0\n";
  const double pi = std::atan(1.0) * 4;
  for (int k = 0; k <= 20; ++k) {
    const double t = pi * (moved.count(k) != 0 ? moved.at(k) : k) / 20;
    char line[128];
    std::snprintf(line, sizeof line, "%d,%.17g,%.17g\n", k + 1, scale * (1 - std::cos(t)) / 2,
                  k == 0 || k == 20 ? 0.0 : radius * std::sin(t));
    text += line;
  }
  return text;
}

// A body of five points, its records numbered as given.
std::string Numbered(const std::vector<std::string>& numbers) {
  const char* points[] = {",0,0\n", ",0.25,0.3\n", ",0.5,0.4\n", ",0.75,0.3\n", ",1,0\n"};
  std::string text = "0\n5\n0\n";
  for (std::size_t k = 0; k < 5; ++k) text += numbers[k] + points[k];
  return text;
}

TEST_F(BodyFaults, PointNumbersAreReadAndDiscarded) {
  const auto numbered = Numbered;
  ExpectWarnedAndSolved("in-order.body", numbered({"1", "2", "3", "4", "5"}), {});
  const Array2 inOrder = program.state.OneMinusCp;
  // Files numbered from 0 or 11, numbered alike, without numbers, with text, with a byte order
  // mark before them: the same body, read without a word.
  const std::vector<std::string> numberings[] = {
      {"0", "1", "2", "3", "4"}, {"11", "12", "13", "14", "15"},     {"1", "1", "1", "1", "1"},
      {"", "", "", "", ""},      {"a", "b", "\"c\"", "P4", "1e999"}, {"1", "2", "3", "4", "6"},
      {"2", "1", "3", "4", "4"}};
  for (const auto& numbers : numberings) {
    ExpectWarnedAndSolved("numbered.body", numbered(numbers), {});
    ASSERT_EQ(program.state.OneMinusCp.Limit(0), inOrder.Limit(0));
    for (int i = 1; i <= 4; ++i) {
      for (int j = 1; j <= 4; ++j) EXPECT_EQ(program.state.OneMinusCp(i, j), inOrder(i, j));
    }
  }
  // A quoted header holds a comma, which the mark before its quote would have made a separator.
  ExpectWarnedAndSolved(
      "marked.body", "\xef\xbb\xbf\"Nose, tail\"" + numbered({"1", "2", "3", "4", "5"}).substr(1),
      {});
  EXPECT_EQ(program.state.OneMinusCp(2, 2), inOrder(2, 2));
}

TEST_F(BodyFaults, TheNumbersOneToNInAnotherOrderAreRefusedAsSwappedRecords) {
  const auto numbered = Numbered;
  WriteFile(dir.path() / "swapped.body", numbered({"1", "2", "4", "3", "5"}));
  ExpectRefused("swapped.body",
                "line 6, value 1: point number 4 where point 3 belongs: its records are numbered "
                "1 to 5, but not in order.");
  WriteFile(dir.path() / "reversed.body", numbered({"5", "4", "3", "2", "1.0"}));
  ExpectRefused("reversed.body", "line 4, value 1: point number 5 where point 1 belongs");
}

TEST_F(BodyFaults, AProfileThatTurnsBackOnItselfIsWarnedAbout) {
  // The sphere's points 8 and 9 swapped, and numbered in order.
  ExpectWarnedAndSolved("folded.body", Profile(1, 0.5, {{7, 8}, {8, 7}}),
                        {"turns back on itself at point 8 (by 1"});
}

TEST_F(BodyFaults, NeighbouringPanelsOfVeryDifferentLengthsAreWarnedAbout) {
  // Point 11 moved towards point 10: panels 9 times apart are taken without a word, 12 times
  // apart are warned about.
  ExpectWarnedAndSolved("even.body", Profile(1, 0.5, {{10, 9.2}}), {});
  ExpectWarnedAndSolved("uneven.body", Profile(1, 0.5, {{10, 9.15}}),
                        {"side by side at point 11, more than 10 times apart"});
}

TEST_F(BodyFaults, RadiiAllNegativeGiveTheSameResultsWithoutAWord) {
  // The same body turned by 180 degrees about the axis: the same 1 - Cp to the bit.
  ExpectWarnedAndSolved("positive.body", Profile(1, 0.5), {});
  const Array2 positive = program.state.OneMinusCp;
  ExpectWarnedAndSolved("negative.body", Profile(1, -0.5), {});
  for (int i = 1; i <= 20; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(program.state.OneMinusCp(i, j), positive(i, j));
  }
}

TEST_F(BodyFaults, ASizeTheArithmeticCannotTakeIsRefusedBeforeAnythingIsBuilt) {
  WriteFile(dir.path() / "huge.body", Profile(1e80, 0.5e80));
  ExpectRefused("huge.body", "is 1e+80, too large for the panel arithmetic");
  WriteFile(dir.path() / "tiny.body", Profile(1e-80, 0.5e-80));
  ExpectRefused("tiny.body", "is 1e-80, too small for the panel arithmetic");
}

TEST_F(BodyFaults, TheSizeOfABodyChangesNothingButItsScale) {
  // Potential flow has no length of its own: a body scaled gives the same 1 - Cp.
  std::vector<double> pressure;
  for (const double scale : {1.0, 1e-25, 1e25}) {
    WriteFile(dir.path() / "scaled.body", Profile(scale, scale / 2));
    win.fileName = "scaled.body";
    win.messages.clear();
    PrepareBodyFile(program, win);
    ApplyHessMethod(program, win);
    ASSERT_TRUE(win.messages.empty()) << scale << ": " << win.messages[0];
    pressure.push_back(program.state.OneMinusCp(10, 3));
  }
  EXPECT_NEAR(pressure[1], pressure[0], 1e-12);
  EXPECT_NEAR(pressure[2], pressure[0], 1e-12);
}

TEST_F(BodyFaults, ASolutionThatIsNotFiniteIsRefusedWithItsLikelyCause) {
  // So slender a body makes control points fall on the lines of their neighbours' edges.
  WriteFile(dir.path() / "needle.body", Profile(1, 1e-9));
  win.fileName = "needle.body";
  PrepareBodyFile(program, win);
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  const std::string geometry = testing::ReadFile(dir.path() / "Tarvenol.txt");
  const double pressure = program.state.OneMinusCp(2, 2);
  ApplyHessMethod(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(win.messages[0].rfind("Hess's panel method gives no finite result at panel (", 0), 0u)
      << win.messages[0];
  EXPECT_NE(win.messages[0].find("too slender"), std::string::npos);
  EXPECT_EQ(testing::ReadFile(dir.path() / "Tarvenol.txt"), geometry);
  EXPECT_EQ(program.state.OneMinusCp(2, 2), pressure);
  EXPECT_FALSE(program.state.ShowSolution);
}

TEST_F(BodyFaults, ASolutionByTheBodysSymmetryThatIsNotFiniteIsRefusedToo) {
  WriteFile(dir.path() / "needle.body", Profile(1, 1e-9));
  win.fileName = "needle.body";
  PrepareBodyFile(program, win);
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  const std::string geometry = testing::ReadFile(dir.path() / "Tarvenol.txt");
  IgnoredProgress unseen;
  RunOperation(program, win, PlanSolve(program, win, SolveKind::Symmetric), unseen);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(win.messages[0].rfind("Hess's panel method gives no finite result at panel (", 0), 0u)
      << win.messages[0];
  EXPECT_EQ(testing::ReadFile(dir.path() / "Tarvenol.txt"), geometry);
  EXPECT_FALSE(program.state.ShowSolution);
}

}  // namespace
}  // namespace tarvenol
