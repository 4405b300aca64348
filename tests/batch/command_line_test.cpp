// The batch tool's command line, its messages and its exit status.

#include <gtest/gtest.h>

#include <string>

#include "batch_runner.h"
#include "temp_dir.h"

namespace tarvenol::testing {
namespace {

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

TEST(BatchTool, AMessageReachesTheTerminalAsOneLineOfPlainText) {
  TempWorkDir dir;
  // An escape sequence and a line break in a body file's name, which a warning names.
  const std::string name = "red\x1b[31m\nname.body";
  WriteFile(name, "0\n3\n0\n1,0,0.1\n2,0.5,0.5\n3,1,0\n");
  const BatchRun run = Batch("nj 6 body '" + name + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("/red?[31m?name.body\" does not end on the axis"), std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
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
  EXPECT_EQ(Batch("angles 1 2").status, 2);
  EXPECT_EQ(Batch("scale").status, 2);
  EXPECT_EQ(Batch("png").status, 2);
}

TEST(BatchTool, AResultThatStandardOutputCannotTakeIsAMessage) {
  TempWorkDir dir;
  for (const char* args :
       {"sphere solve probe 2 0.5 0", "nj 6 sphere solve body-figures", "--help", "--version"}) {
    const BatchRun run = Batch(std::string(args) + " >/dev/full");
    EXPECT_EQ(run.status, 1) << args;
    EXPECT_NE(run.err.find("standard output"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No space left on device."), std::string::npos) << run.err;
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
      {"sphere solve mach", 2, "'mach' needs a value"},
  };
  for (const auto& c : cases) {
    WriteFile("Tarvenol.txt", earlier);
    const BatchRun run = Batch(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile("Tarvenol.txt"), earlier) << c.args;
  }
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

}  // namespace
}  // namespace tarvenol::testing
