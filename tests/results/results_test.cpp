// The solution as users take it further: the closed form it is compared with, the per-panel
// values, and the files they go into.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/program_error.h"
#include "fake_window.h"
#include "geometry/body_file.h"
#include "results/exact_pressure.h"
#include "results/exports.h"
#include "session/commands.h"
#include "session/results_commands.h"
#include "sphere_state.h"
#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

std::optional<Spheroid> SpheroidOfFile(const std::string& name) {
  const BodyProfile profile = ReadBodyProfile(testing::ExamplesDir() + "/" + name, kMaxBodyPoints);
  const auto n = static_cast<int>(profile.x.size());
  Array1 x(static_cast<std::size_t>(n)), r(static_cast<std::size_t>(n));
  for (int k = 1; k <= n; ++k) {
    x(k) = profile.x[static_cast<std::size_t>(k - 1)];
    r(k) = profile.r[static_cast<std::size_t>(k - 1)];
  }
  return SpheroidOfProfile(x, r, n);
}

TEST(ExactPressure, TellsTheSpheroidsFromOtherBodies) {
  BodyWork sphere;
  ModelState s = testing::StartedState();
  s.NI = 10;
  s.NI1 = 11;
  SphereProfile(s, sphere);
  const auto round = SpheroidOfProfile(sphere.xI, sphere.rI, 11);
  ASSERT_TRUE(round);
  EXPECT_NEAR(round->k1, 0.5, 1e-12);
  // On the sphere the closed form is 9/4 sin^2 of the polar angle.
  for (const double theta : {0.3, 1.0, 1.5707963, 2.5}) {
    EXPECT_NEAR(ExactOneMinusCp(*round, 0.5 - 0.5 * std::cos(theta)),
                2.25 * std::sin(theta) * std::sin(theta), 1e-12);
  }

  const auto prolate = SpheroidOfFile("spheroid.body");
  ASSERT_TRUE(prolate);
  EXPECT_NEAR(prolate->a / prolate->b, 4, 1e-6);
  EXPECT_NEAR(prolate->k1, 0.081557, 5e-7);
  EXPECT_NEAR(ExactOneMinusCp(*prolate, prolate->centre), std::pow(1 + prolate->k1, 2), 1e-12);
  EXPECT_FALSE(SpheroidOfFile("ogive-cylinder.body"));
  EXPECT_FALSE(SpheroidOfFile("ovoid.body"));

  // One point moved by a thousandth of the radius: no longer a spheroid.
  sphere.rI(4) *= 1.001;
  EXPECT_FALSE(SpheroidOfProfile(sphere.xI, sphere.rI, 11));
}

class SolvedSphere : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(program, win);
    testing::SolveSphere(program, win, "12", "16");
    ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
};

TEST_F(SolvedSphere, ThePressureLiesOnTheClosedFormWithinItsDeviation) {
  const auto pressure = CurrentPressure(program);
  ASSERT_TRUE(pressure && pressure->spheroid);
  EXPECT_EQ(pressure->body, "the sphere");
  EXPECT_EQ(pressure->panels.size(), 192u);
  EXPECT_GT(pressure->deviation, 0);
  EXPECT_LT(pressure->deviation, 0.06);
  // Over the sphere the stream runs downstream along the surface, at 1.5 sin(theta) of the
  // free stream: its x part is 1.5 sin^2(theta), and it has none along the radius.
  for (const PanelResult& r : pressure->panels) {
    const double radius = std::sqrt(std::pow(r.xC - 0.5, 2) + r.yC * r.yC + r.zC * r.zC);
    const double sine2 = (r.yC * r.yC + r.zC * r.zC) / (radius * radius);
    EXPECT_NEAR(r.Vx, 1.5 * sine2, 0.06) << r.i << ", " << r.j;
    EXPECT_NEAR((r.Vx * (r.xC - 0.5) + r.Vy * r.yC + r.Vz * r.zC) / radius, 0, 0.05);
    EXPECT_NEAR(r.Vx * r.Vx + r.Vy * r.Vy + r.Vz * r.Vz, r.oneMinusCp, 1e-12);
  }

  PrepareSphere(program, win);  // a new geometry has no solution until the method is applied
  EXPECT_FALSE(CurrentPressure(program));
}

TEST_F(SolvedSphere, TheTableReadsBackToTheSameNumbersWhateverTheLocale) {
  const char* comma = std::setlocale(LC_ALL, "de_DE.UTF-8");
  ExportCsv(program, win, "panels.csv");
  std::setlocale(LC_ALL, "C");
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  std::istringstream table(ReadFile("panels.csv"));
  std::string line;
  std::getline(table, line);
  EXPECT_EQ(line, "i,j,xC,yC,zC,source_strength,Vx,Vy,Vz,one_minus_Cp,Cp,area");
  const auto panels = CurrentPressure(program)->panels;
  std::size_t rows = 0;
  for (; std::getline(table, line); ++rows) {
    const PanelResult& r = panels.at(rows);
    const double expected[] = {static_cast<double>(r.i),
                               static_cast<double>(r.j),
                               r.xC,
                               r.yC,
                               r.zC,
                               r.sigma,
                               r.Vx,
                               r.Vy,
                               r.Vz,
                               r.oneMinusCp,
                               r.Cp,
                               r.area};
    const char* at = line.c_str();
    for (const double value : expected) {
      char* end = nullptr;
      EXPECT_EQ(std::strtod(at, &end), value) << line;  // bit for bit
      at = *end == ',' ? end + 1 : end;
    }
  }
  EXPECT_EQ(rows, 192u);
  if (comma == nullptr) GTEST_SKIP() << "no locale with a decimal comma to try";
}

TEST_F(SolvedSphere, AFileThatCannotBeWrittenLeavesWhatWasThere) {
  WriteFile("panels.vtp", "what was there");
  const std::filesystem::path missing = dir.path() / "missing" / "panels.csv";
  ExportCsv(program, win, missing.string());
  ExportVtk(program, win, "/dev/full");
  ASSERT_EQ(win.messages.size(), 2u);
  EXPECT_NE(win.messages[0].find("The table cannot be written to \"" + missing.string() + "\": "),
            std::string::npos)
      << win.messages[0];
  EXPECT_NE(win.messages[1].find("\"/dev/full\": it is not a regular file"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  EXPECT_EQ(ReadFile("panels.vtp"), "what was there");

  // Before any solution there is nothing to export, and nothing is written.
  PrepareSphere(program, win);
  ExportVtk(program, win, "panels.vtp");
  EXPECT_NE(win.messages.back().find("no solution to export"), std::string::npos);
  EXPECT_EQ(ReadFile("panels.vtp"), "what was there");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
    ++files;
  EXPECT_EQ(files, 2);  // the report and the old file: no half-written one beside them
}

}  // namespace
}  // namespace tarvenol
