// The batch tool, run as a user runs it, in a fresh working directory.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;

struct BatchRun {
  int status = -1;
  std::string out;
  std::string err;
};

BatchRun Batch(const std::string& args) {
  const std::string command = testing::BatchTool() + " " + args + " >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile("out.txt"), ReadFile("err.txt")};
}

TEST(BatchTool, SphereWritesTheSameReportAsTheProgram) {
  TempWorkDir dir;
  testing::WriteFile("Tarvenol.txt", "left from an earlier run\r\n");
  const BatchRun run = Batch("sphere");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string report = ReadFile("Tarvenol.txt");
  EXPECT_EQ(report.rfind(" Profile of the body of revolution\r\n  i     xI     rI\r\n\r\n", 0), 0u);
  EXPECT_NE(report.find(" 2    0.1464  0.3536  \r\n"), std::string::npos);
  EXPECT_EQ(report.find("earlier"), std::string::npos);
}

TEST(BatchTool, ActionsRunInOrderAndTheCountsAreTexts) {
  TempWorkDir dir;
  const std::string examples = testing::ExamplesDir();
  const BatchRun run = Batch("ni 6 nj 8 sphere nj 12 body " + examples + "/spheroid.body");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string report = ReadFile("Tarvenol.txt");
  const std::size_t second = report.find(" Profile", 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(report.find(" 7    1.0  0.0  \r\n"), std::string::npos);           // the sphere's tail
  EXPECT_NE(report.find(" 41    1.0  0.0  \r\n", second), std::string::npos);  // the spheroid's
}

TEST(BatchTool, AMessageGoesToStandardErrorAndTheStatusSaysSo) {
  TempWorkDir dir;
  BatchRun run = Batch("solve");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tarvenol-batch: Geometriyi hazırla\n");
  run = Batch("ni abc sphere");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("NI must be a whole number"), std::string::npos);
  EXPECT_EQ(ReadFile("Tarvenol.txt"), "");
  run = Batch("body missing.body");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.body\" cannot be opened"), std::string::npos);
}

TEST(BatchTool, HelpAndCommandLineMistakes) {
  TempWorkDir dir;
  BatchRun run = Batch("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Usage: tarvenol-batch"), std::string::npos);
  run = Batch("cube");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("unknown action \"cube\""), std::string::npos);
  run = Batch("ni");
  EXPECT_EQ(run.status, 2);
}

TEST(BatchTool, EveryExampleBodyMakesAGeometry) {
  TempWorkDir dir;
  const std::string examples = testing::ExamplesDir();
  for (const char* name : {"spheroid.body", "ovoid.body", "ogive-cylinder.body"}) {
    const BatchRun run = Batch("nj 8 body " + examples + "/" + name);
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
  }
}

}  // namespace
}  // namespace tarvenol
