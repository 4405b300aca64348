// The Mach number as a setting of the results: bad input refused with a message that names it,
// and M = 0 the incompressible program's bytes, whether or not another Mach number came first.

#include "session/mach_commands.h"

#include <gtest/gtest.h>

#include "fake_window.h"
#include "session/commands.h"
#include "session/incidence_commands.h"
#include "session/results_commands.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;

class MachFlow : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(program, win); }
  void SolveSphere() {
    testing::SolveSphere(program, win, "8", "12");
    ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  }
  // The panels as CSV and VTK, and the forces, at the results' settings.
  std::string Exports(const std::string& name) {
    ExportCsv(program, win, name + ".csv");
    ExportVtk(program, win, name + ".vtp");
    ExportForces(program, win, name + "-forces.csv", -30, 30, 10);
    return ReadFile(name + ".csv") + ReadFile(name + ".vtp") + ReadFile(name + "-forces.csv");
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
};

TEST_F(MachFlow, RefusalsNameWhatIsWrongAndLeaveTheSettingAndTheResults) {
  SolveSphere();
  ASSERT_TRUE(SetMach(program, win, "0.5", "karman-tsien"));
  const std::string report = ReadFile("Tarvenol.txt");
  const std::string before = Exports("before");
  const double beta = program.affine->beta;
  const struct {
    const char* text;
    const char* why;
  } bad[] = {{"-0.1", "\"-0.1\" is below 0"},    {"1", "\"1\" is not below 1"},
             {"1.5", "\"1.5\" is not below 1"},  {"abc", "\"abc\" is not a number"},
             {"nan", "\"nan\" is not a number"}, {"", "\"\" is not a number"},
             {"0.6 0.7", "is not a number"}};
  for (const auto& [text, why] : bad) {
    win.messages.clear();
    EXPECT_FALSE(SetMach(program, win, text, std::nullopt)) << text;
    ASSERT_EQ(win.messages.size(), 1u) << text;
    EXPECT_NE(win.messages[0].find(why), std::string::npos) << win.messages[0];
  }
  win.messages.clear();
  EXPECT_FALSE(SetMach(program, win, "0.6", "karman"));
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("is karman-tsien"), std::string::npos);
  EXPECT_NE(win.messages[0].find("\"karman\" is not"), std::string::npos);
  // Beyond the correction's range: the sphere's suction at M = 0.9 is far past sonic.
  win.messages.clear();
  EXPECT_FALSE(SetMach(program, win, "0.9", "karman-tsien"));
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("Kármán–Tsien's correction has no value at M = 0.9"),
            std::string::npos);
  EXPECT_EQ(program.mach.mach, 0.5);
  EXPECT_EQ(program.mach.rule, PressureRule::GoethertKarmanTsien);
  EXPECT_EQ(program.affine->beta, beta);
  win.messages.clear();
  EXPECT_EQ(Exports("after"), before);
  EXPECT_EQ(ReadFile("Tarvenol.txt"), report);
}

// Before the setting, after one, and with it set before the solve that then solves the affine
// body too: at M = 0 the report and every export are the same bytes.
TEST_F(MachFlow, MachZeroIsTheIncompressibleProgramByteForByte) {
  SolveSphere();
  const std::string report = ReadFile("Tarvenol.txt");
  const std::string incompressible = Exports("m0");
  ASSERT_TRUE(SetMach(program, win, "0.6", std::nullopt));
  const std::string gas = Exports("m06");
  EXPECT_NE(ReadFile("m06.csv").find(",area,mach\n"), std::string::npos);
  EXPECT_NE(ReadFile("m06.vtp").find("Name=\"mach\""), std::string::npos);
  ASSERT_TRUE(SetMach(program, win, "0", std::nullopt));
  EXPECT_EQ(Exports("again"), incompressible);

  ASSERT_TRUE(SetMach(program, win, "0.6", "karman-tsien"));
  SolveSphere();
  ASSERT_TRUE(program.affine);
  EXPECT_NE(Exports("solved-at-06"), gas);  // the correction's, not the rule's alone
  ASSERT_TRUE(SetMach(program, win, "0", std::nullopt));
  EXPECT_EQ(Exports("solved-again"), incompressible);
  // The second solve's sections follow the first's, the same bytes.
  EXPECT_EQ(ReadFile("Tarvenol.txt"), report + report);
  EXPECT_TRUE(win.messages.empty());
}

}  // namespace
}  // namespace tarvenol
