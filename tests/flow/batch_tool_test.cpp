// The batch tool, run as a user runs it, in a fresh working directory.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// The batch tool with these arguments; before, shell commands or variables put in front.
BatchRun Batch(const std::string& args, const std::string& before = "") {
  const std::string here = std::filesystem::current_path().string();
  const std::string command = before + " " + testing::BatchTool() + " " + args + " >" + here +
                              "/out.txt 2>" + here + "/err.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(here + "/out.txt"),
          ReadFile(here + "/err.txt")};
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

TEST(BatchTool, ACommandLineItCannotFollowLeavesTheReportAsItWas) {
  TempWorkDir dir;
  const std::string earlier = "the report of an earlier run\r\n";
  const struct {
    const char* args;
    int status;
    const char* said;
  } cases[] = {
      {"bogus", 2, "unknown action \"bogus\""},
      {"--help sphere", 0, ""},
      {"sphere solve bogus", 2, "unknown action \"bogus\""},
      {"sphere --frobnicate", 2, "unknown option \"--frobnicate\""},
      {"sphere body ''", 2, "'body' needs a path, not an empty text"},
      {"sphere png ''", 2, "'png' needs a path, not an empty text"},
      {"sphere angles 1 2", 2, "'angles' needs three values"},
  };
  for (const auto& c : cases) {
    testing::WriteFile("Tarvenol.txt", earlier);
    const BatchRun run = Batch(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile("Tarvenol.txt"), earlier) << c.args;
  }
}

TEST(BatchTool, WhatTheWindowCannotDoIsRefused) {
  TempWorkDir dir;
  ASSERT_EQ(Batch("ni 6 nj 6 sphere solve").status, 0);
  const std::string once = ReadFile("Tarvenol.txt");
  const BatchRun run = Batch("ni 6 nj 6 sphere solve solve");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("has been applied to this geometry already"), std::string::npos);
  EXPECT_EQ(ReadFile("Tarvenol.txt"), once);
}

TEST(BatchTool, NoEnvironmentEndsTheProgram) {
  TempWorkDir dir;
  ASSERT_EQ(Batch("ni 12 nj 12 sphere solve").status, 0);
  const std::string report = ReadFile("Tarvenol.txt");
  // Thousands of threads asked for: the program takes as many as the machine has processors.
  for (const char* threads : {"1000", "99999"}) {
    const BatchRun run =
        Batch("ni 12 nj 12 sphere solve", std::string("OMP_NUM_THREADS=") + threads);
    EXPECT_EQ(run.status, 0) << threads << ": " << run.err;
    EXPECT_TRUE(ReadFile("Tarvenol.txt") == report) << threads;
  }
  // A working folder that is gone: no report, no relative body file, but messages, not a crash.
  const BatchRun gone = Batch("body relative.body", "mkdir gone && cd gone && rmdir ../gone &&");
  EXPECT_EQ(gone.status, 1);
  EXPECT_NE(gone.err.find("Cannot create the report file"), std::string::npos) << gone.err;
  EXPECT_NE(gone.err.find("relative.body"), std::string::npos) << gone.err;
}

TEST(BatchTool, AGeometryBeyondALimitOnTheAddressSpaceIsRefusedBeforeAnythingIsWritten) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer takes far more address space than the limit";
#endif
  TempWorkDir dir;
  // 2 GB of address space (ulimit -v counts KiB): far less than the machine's memory.
  const BatchRun run = Batch("ni 1000000 nj 20 sphere", "ulimit -v 2000000;");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("This geometry would need"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile("Tarvenol.txt"), "");
}

TEST(BatchTool, ProgressOnATerminalTimingsWhenAskedNothingElse) {
  TempWorkDir dir;
  // Standard error a file: not a word besides the program's own messages.
  BatchRun run = Batch("ni 12 nj 12 sphere solve");
  EXPECT_EQ(run.err, "");
  run = Batch("--timings ni 12 nj 12 sphere solve");
  EXPECT_NE(run.err.find("solve: 144 panels: the three matrices take 498.4 KiB of memory, and the "
                         "report grows by about 441.4 KiB. It takes about "),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("solve: influence coefficients "), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\r'), std::string::npos);
  // On a terminal (script gives it one), one line a stage, written again as the work goes on.
  run = Batch("ni 12 nj 12 sphere solve' /dev/null", "script -qec '");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\rinfluence coefficients 100 %\r\n\rmatrix report   0 %"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("\rreport   2 %"), std::string::npos) << "a report stage went back";
}

TEST(BatchTool, BodyFilesMustBeRegularFiles) {
  TempWorkDir dir;
  ASSERT_EQ(mkfifo("pipe.body", 0600), 0);
  // Read without blocking, the pipe is refused at once; opened as a file, it would wait for ever.
  const BatchRun run = Batch("body pipe.body", "timeout 20");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("pipe.body\" cannot be opened: it is not a regular file"),
            std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace tarvenol
