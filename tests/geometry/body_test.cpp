#include <gtest/gtest.h>

#include <cmath>

#include "core/program_error.h"
#include "geometry/body_file.h"
#include "geometry/body_of_revolution.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::TempWorkDir;
using testing::WriteFile;

class Body : public ::testing::Test {
 protected:
  void SetUp() override {
    s.PI = std::atan(1.0) * 4;
    s.OutFile = "Tarvenol.txt";
  }
  void Counts(double ni, double nj) {
    s.NI = ni;
    s.NI1 = ni + 1;
    s.NJ = nj;
    s.NJ1 = nj + 1;
  }
  BodyProfile Read(const std::string& text) {
    WriteFile(dir.path() / "b.body", text);
    return ReadBodyProfile((dir.path() / "b.body").string(), kMaxBodyPoints);
  }
  std::string Refusal(const std::string& text) {
    try {
      Read(text);
    } catch (const ProgramError& e) {
      return e.what();
    }
    return "accepted";
  }

  TempWorkDir dir;
  ModelState s;
  BodyWork w;
};

TEST_F(Body, TheSphereProfileOfFourIntervals) {
  Counts(4, 4);
  SphereProfile(s, w);
  const double x[] = {0, 0.146447, 0.5, 0.853553, 1};
  const double r[] = {0, 0.353553, 0.5, 0.353553, 0};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_NEAR(w.xI(i), x[i - 1], 1e-6) << i;
    EXPECT_NEAR(w.rI(i), r[i - 1], 1e-6) << i;
  }
  EXPECT_GT(w.rI(1), 0);  // sin(pi) is not exactly zero
  EXPECT_EQ(w.rI(5), 0);
  EXPECT_EQ(w.xI.Limit(0), 5u);
}

TEST_F(Body, MeridiansStartAtMinusNinetyDegreesAndCloseTheCircle) {
  Counts(4, 4);
  BuildBodyGeometry(s, w, BodyKind::Sphere);
  const double phi[] = {-s.PI / 2, 0, s.PI / 2, s.PI, 3 * s.PI / 2};
  for (int j = 1; j <= 5; ++j) EXPECT_NEAR(w.Phi(j), phi[j - 1], 1e-15);
  // Profile point 3, radius 0.5: (y, z) at (0, -r), (r, 0), (0, r), (-r, 0), (0, -r).
  const double y[] = {0, 0.5, 0, -0.5, 0};
  const double z[] = {-0.5, 0, 0.5, 0, -0.5};
  for (int j = 1; j <= 5; ++j) {
    EXPECT_EQ(s.xB(3, j), 0.5);
    EXPECT_NEAR(s.yB(3, j), y[j - 1], 1e-15);
    EXPECT_NEAR(s.zB(3, j), z[j - 1], 1e-15);
  }
  EXPECT_EQ(s.xB.Limit(0), 5u);
  EXPECT_EQ(s.xB.Limit(1), 5u);
}

TEST_F(Body, ABodyFileReadsTheSameOneValuePerLineOrAllOnOneLine) {
  const std::string perLine = "0\n5\n0\n1,0,0\n2,0.25,0.3\n3,0.5,0.4\n4,0.75,0.3\n5,1,0\n";
  const std::string oneLine = "0,5,0,1,0,0,2,0.25,0.3,3,0.5,0.4,4,0.75,0.3,5,1,0";
  const std::string columns =
      "\"Body\" 5 \"n x r\"\r\n 1\t0  0\r\n2 0.25 0.3\r\n3 .5 .4\r\n"
      "4 7.5e-1 3E-1\r\n5 1 0\r\nanything after the last record";
  for (const std::string& text : {perLine, oneLine, columns}) {
    const BodyProfile p = Read(text);
    EXPECT_EQ(p.x, (std::vector<double>{0, 0.25, 0.5, 0.75, 1})) << text;
    EXPECT_EQ(p.r, (std::vector<double>{0, 0.3, 0.4, 0.3, 0})) << text;
  }
}

TEST_F(Body, EmptyValuesCountAsZero) {
  const BodyProfile p = Read("\"h\",3,\"h\"\n1,,\n2,0.5,0.2\n3,1,\n");
  EXPECT_EQ(p.x, (std::vector<double>{0, 0.5, 1}));
  EXPECT_EQ(p.r, (std::vector<double>{0, 0.2, 0}));
  // An empty line is a value too, so here the second header value is the empty line.
  const BodyProfile q = Read("0\n3\n\n1,0,0\n2,0.5,1\n3,1,0\n");
  EXPECT_EQ(q.x, (std::vector<double>{0, 0.5, 1}));
}

TEST_F(Body, RefusalsNameTheFileAndThePlace) {
  const struct {
    const char* text;
    const char* fault;
  } cases[] = {
      {"0\n3\n0\n1,0,0\n2,0.5,0.2\n", "ends before the number of point 3 of 3"},
      {"0\n3\n0\n1,0,0\n2,0.5", "ends before r of point 2 of 3"},
      {"0\n3\n0\n1,0,0\n2,0.5x,0.2\n3,1,0\n",
       "line 5, value 2: \"0.5x\" is not a number (x of point 2"},
      {"0\n3\n0\n1,0,0\n2,\"0.5\",0.2\n", "line 5, value 2: \"0.5\" is not a number"},
      {"0\nfive\n0\n", "line 2, value 1: \"five\" is not a number (the number of profile points)"},
      {"0\n-4\n0\n", "not a whole number from 3 to"},
      {"0\n2\n0\n1,0,0\n2,1,0\n", "not a whole number from 3 to 1000001"},
      {"0\n3\n0\n1,0,0\n2,nan,0\n", "\"nan\" is not a number"},
      {"0\n3\n0\n1,0,0\n2,1e999,0\n", "\"1e999\" is too large"},
      {"0\n3\n0\n1,\"unclosed\n", "quoted text without its closing quote"},
      {"0\n1000002\n0\n", "not a whole number from 3 to 1000001"},
  };
  for (const auto& c : cases) {
    const std::string message = Refusal(c.text);
    EXPECT_EQ(message.rfind("The body file \"" + (dir.path() / "b.body").string() + "\" ", 0), 0u)
        << message;
    EXPECT_NE(message.find(c.fault), std::string::npos) << message;
  }
  EXPECT_NE(Refusal("0,3,0,1," + std::string(5000, '7')).find("longer than any number"),
            std::string::npos);
  // A long value is shown cut short.
  EXPECT_NE(Refusal("0,3,0,1," + std::string(60, 'a')).find("\"" + std::string(40, 'a') + "...\""),
            std::string::npos);
}

TEST_F(Body, AFolderOrAMissingFileIsRefused) {
  std::filesystem::create_directory(dir.path() / "b.body");
  EXPECT_NE(Refusal("").find("cannot be read: Is a directory"), std::string::npos);
  EXPECT_THROW(ReadBodyProfile((dir.path() / "none.body").string(), kMaxBodyPoints), ProgramError);
}

TEST_F(Body, ReadBodyFileFollowsTheFilesPointCountOnlyWhenItDiffers) {
  WriteFile(dir.path() / "b.body", "0\n5\n0\n1,0,0\n2,0.25,0.3\n3,0.5,0.4\n4,0.75,0.3\n5,1,0\n");
  s.BodyFile = (dir.path() / "b.body").string();
  Counts(4, 6);
  ReadBodyFile(s, w);
  EXPECT_EQ(s.NI, 4);

  Counts(30, 6);
  ReadBodyFile(s, w);
  EXPECT_EQ(s.NI, 4);
  EXPECT_EQ(s.NI1, 5);
  EXPECT_EQ(s.NJ, 6);
  EXPECT_EQ(w.rI(2), 0.3);
  EXPECT_EQ(w.xI.Limit(0), 5u);
}

}  // namespace
}  // namespace tarvenol
