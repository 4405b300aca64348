// The angle of attack as a setting of the results, the forces over a range of angles and the
// body's figures: bad input refused with a message, the solve and the report untouched.

#include "session/incidence_commands.h"

#include <gtest/gtest.h>

#include "fake_window.h"
#include "session/commands.h"
#include "session/mach_commands.h"
#include "session/results_commands.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

class IncidenceFlow : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(program, win); }
  void SolveSphere() {
    win.messages.clear();
    testing::SolveSphere(program, win, "8", "12");
    ASSERT_TRUE(win.messages.empty());
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
};

TEST_F(IncidenceFlow, TheAngleIsASettingOfTheResultsAndBadTextsLeaveIt) {
  SolveSphere();
  const std::string report = ReadFile("Tarvenol.txt");
  ExportCsv(program, win, "zero.csv");
  for (const char* bad : {"abc", "", "10 degrees", "90.5", "-91", "nan", "1e999"}) {
    EXPECT_FALSE(SetAngleOfAttack(program, win, bad)) << bad;
    EXPECT_EQ(program.alphaDegrees, 0) << bad;
  }
  ASSERT_EQ(win.messages.size(), 7u);
  EXPECT_EQ(win.messages[0],
            "The angle of attack must be a number of degrees from -90 to 90; \"abc\" is not.");
  EXPECT_TRUE(SetAngleOfAttack(program, win, " 10 "));
  ExportCsv(program, win, "ten.csv");
  EXPECT_NE(ReadFile("ten.csv").find(",alpha_deg\n"), std::string::npos);
  // Back at 0 every export is the axial stream's own bits again, and the solve never ran.
  EXPECT_TRUE(SetAngleOfAttack(program, win, "0"));
  ExportCsv(program, win, "again.csv");
  EXPECT_EQ(ReadFile("again.csv"), ReadFile("zero.csv"));
  EXPECT_EQ(ReadFile("Tarvenol.txt"), report);
}

TEST_F(IncidenceFlow, ForcesAndFiguresNeedASolutionAndARange) {
  ExportForces(program, win, "f.csv", 0, 90, 5);
  EXPECT_EQ(PlanBodyFigures(program, win), nullptr);
  ASSERT_EQ(win.messages.size(), 2u);
  EXPECT_FALSE(std::filesystem::exists("f.csv"));

  SolveSphere();
  for (const auto& [from, to, step] :
       {std::tuple{0.0, 90.0, 0.0}, {0.0, 100.0, 5.0}, {40.0, 10.0, 5.0}, {0.0, 90.0, 1e-5}}) {
    win.messages.clear();
    ExportForces(program, win, "f.csv", from, to, step);
    EXPECT_EQ(win.messages.size(), 1u) << from << " " << to << " " << step;
    EXPECT_FALSE(std::filesystem::exists("f.csv"));
  }
  win.messages.clear();
  ExportForces(program, win, "f.csv", -10, 10, 10);
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  const std::string table = ReadFile("f.csv");
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4);
  EXPECT_EQ(table.find("\n-10,"), table.find('\n'));

  // The figures come with their coarser companion, the names in the order scripts read them.
  IgnoredProgress unseen;
  RunOperation(program, win, PlanBodyFigures(program, win), unseen);
  ASSERT_TRUE(program.results.bodyReport);
  EXPECT_EQ(program.results.bodyReport->coarseNI, 4);
  EXPECT_EQ(program.results.bodyReport->coarseNJ, 6);
  const auto lines = BodyReportLines(*program.results.bodyReport);
  const char* names[] = {
      "volume",          "wetted_area",     "centre_x",           "k1", "k2", "kprime",
      "k1_extrapolated", "k2_extrapolated", "kprime_extrapolated"};
  for (std::size_t k = 0; k < std::size(names); ++k) EXPECT_EQ(lines[k].first, names[k]);
  // A new solution drops the figures of the last one.
  PrepareSphere(program, win);
  ApplyHessMethod(program, win);
  EXPECT_FALSE(program.results.bodyReport);
}

// The added masses' work stops where it is asked to, in the potential on the body or in the
// coarser solution, and nothing of it is taken.
TEST_F(IncidenceFlow, ACancelledFigureLeavesNothing) {
  SolveSphere();
  for (const Stage stage : {Stage::BodyPotential, Stage::Coefficients}) {
    struct StopAt : Progress {
      Stage at;
      bool stopped = false;
      bool Advance(Stage s, double) override { return !(stopped = stopped || s == at); }
    } stop;
    stop.at = stage;
    RunOperation(program, win, PlanBodyFigures(program, win), stop);
    EXPECT_TRUE(stop.stopped) << StageName(stage);
    EXPECT_FALSE(program.results.bodyReport) << StageName(stage);
  }
  EXPECT_TRUE(win.messages.empty());
}

TEST_F(IncidenceFlow, ALongTableOfForcesStopsAtACancelAndWritesNothing) {
  SolveSphere();
  struct Refusing : Progress {
    bool Advance(Stage, double) override { return false; }
  } refusing;
  WriteFile("forces.csv", "what was there\n");
  EXPECT_FALSE(ForcesOverAngles(program, win, -90, 90, 0.02, &refusing));
  ExportForces(program, win, "forces.csv", -90, 90, 0.02, &refusing);
  EXPECT_TRUE(win.messages.empty()) << win.messages.front();
  EXPECT_EQ(ReadFile("forces.csv"), "what was there\n");
  ASSERT_TRUE(ForcesOverAngles(program, win, -90, 90, 0.02));
}

// The table of a solution, Mach number and range is made once: another angle shown takes it
// with that angle's forces, and anything else it depends on makes it anew.
TEST_F(IncidenceFlow, TheTableOfForcesIsKeptForItsSolutionMachNumberAndRange) {
  SolveSphere();
  struct Rows : Progress {
    int asked = 0;
    bool Advance(Stage, double) override { return ++asked > 0; }
  };
  const auto made = [&](double to) {
    Rows rows;
    const std::optional<ForcesTable> table = ForcesOverAngles(program, win, -30, to, 10, &rows);
    EXPECT_TRUE(table && table->shown);
    return rows.asked > 0 ? table : std::nullopt;
  };
  const std::optional<ForcesTable> first = made(30);
  ASSERT_TRUE(first);
  EXPECT_FALSE(made(30));
  ASSERT_TRUE(SetAngleOfAttack(program, win, "20"));
  Rows none;
  const std::optional<ForcesTable> at20 = ForcesOverAngles(program, win, -30, 30, 10, &none);
  EXPECT_EQ(none.asked, 0);
  EXPECT_EQ(at20->rows.size(), first->rows.size());
  EXPECT_EQ(first->shown->alphaDegrees, 0);
  EXPECT_EQ(at20->shown->alphaDegrees, 20);
  EXPECT_TRUE(made(20));
  ASSERT_TRUE(SetMach(program, win, "0.5", std::nullopt));
  EXPECT_TRUE(made(20));
  SolveSphere();
  EXPECT_TRUE(made(20));
  EXPECT_TRUE(win.messages.empty()) << win.messages.front();
}

}  // namespace
}  // namespace tarvenol
