// The batch tool in surroundings it did not choose: the environment, limits of the process,
// the working folder, what stands under a body file's name.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "batch_runner.h"
#include "temp_dir.h"

namespace tarvenol::testing {
namespace {

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
  // The smallest stacks the threading library gives its threads: the kernels keep their work
  // areas elsewhere. AddressSanitizer's frames, with their red zones, are several times the
  // program's own, so that build is not held to them.
#ifdef __SANITIZE_ADDRESS__
  const std::initializer_list<const char*> stacks = {};
#else
  const std::initializer_list<const char*> stacks = {"16K", "24K"};
#endif
  for (const char* stack : stacks) {
    const BatchRun run =
        Batch("ni 12 nj 12 sphere solve", std::string("OMP_NUM_THREADS=2 OMP_STACKSIZE=") + stack);
    EXPECT_EQ(run.status, 0) << stack << ": " << run.err;
    EXPECT_TRUE(ReadFile("Tarvenol.txt") == report) << stack;
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

TEST(BatchTool, ThreadsThatCannotStartAreRefusedWithTheProgramsOwnMessage) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer takes far more address space than the limits";
#endif
  TempWorkDir dir;
  // Limits on the address space from where the program cannot start at all to where it
  // solves: in between, each is refused with a message of the program's, and the threading
  // library never ends it.
  const auto says = [](const BatchRun& run) {
    return run.status == 0 || (run.status == 1 && run.err.rfind("tarvenol-batch: ", 0) == 0);
  };
  int solved = 0;
  for (int kib = 60000; kib <= 200000 && solved == 0; kib += 4000) {
    const std::string limit = "ulimit -v " + std::to_string(kib) + "; OMP_NUM_THREADS=2";
    const BatchRun run = Batch("ni 20 nj 20 sphere solve", limit);
    if (run.err.find("error while loading shared libraries") != std::string::npos) continue;
    EXPECT_TRUE(says(run)) << kib << " KiB: " << run.status << ", " << run.err;
    if (run.status == 0) solved = kib;
  }
  ASSERT_NE(solved, 0);
  // Where the solve fits, threads of stacks of 64 MiB do not.
  const BatchRun run =
      Batch("ni 20 nj 20 sphere solve",
            "ulimit -v " + std::to_string(solved) + "; OMP_NUM_THREADS=2 OMP_STACKSIZE=64M");
  EXPECT_TRUE(says(run)) << run.status << ", " << run.err;
}

TEST(BatchTool, ClosedStandardStreamsNeverTakeTheReport) {
  TempWorkDir dir;
  ASSERT_EQ(Batch("ni 4 nj 4 sphere solve solve").status, 1);
  const std::string report = ReadFile("Tarvenol.txt");
  // Started without standard error, and without standard input too, so that the report's
  // lock, or each group of its sections, would get number 2: the message of the second solve
  // goes nowhere.
  for (const char* closed : {"exec 2>&-;", "exec 0<&- 2>&-;"}) {
    EXPECT_EQ(Batch("ni 4 nj 4 sphere solve solve", closed).status, 1);
    EXPECT_TRUE(ReadFile("Tarvenol.txt") == report) << closed;
  }
}

// A solve long enough to be caught at work: 2500 panels, seconds.
const std::vector<std::string> kLongSolve = {"--timings", "ni",    "50",  "nj",       "50",
                                             "sphere",    "solve", "png", "after.png"};

TEST(BatchTool, ASignalStopsTheWorkAsTheWindowsCancelDoes) {
  TempWorkDir dir;
  ASSERT_EQ(Batch("ni 50 nj 50 sphere").status, 0);
  const std::string geometry = ReadFile("Tarvenol.txt");
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    RunningBatch run(kLongSolve);
    ASSERT_TRUE(run.WaitForErr("solve: 2500 panels", 60)) << run.ErrSoFar();
    run.Signal(signal);
    const BatchRun stopped = run.Wait(60);
    EXPECT_EQ(stopped.status, 128 + signal) << stopped.err;
    EXPECT_NE(stopped.err.find("the report holds the actions finished before it."),
              std::string::npos)
        << stopped.err;
    // The solve's sections are cut back, and nothing after it is done.
    EXPECT_TRUE(ReadFile("Tarvenol.txt") == geometry);
    EXPECT_FALSE(std::filesystem::exists("after.png"));
  }
}

TEST(BatchTool, ASecondSignalEndsTheRunAtOnce) {
  TempWorkDir dir;
  RunningBatch run(kLongSolve);
  ASSERT_TRUE(run.WaitForErr("solve: 2500 panels", 60)) << run.ErrSoFar();
  // Held still, it gets both when it goes on, in either order: the first asks it to stop, the
  // second ends it before it has stopped and said so.
  run.Signal(SIGSTOP);
  run.Signal(SIGTERM);
  run.Signal(SIGINT);
  run.Signal(SIGCONT);
  const BatchRun ended = run.Wait(60);
  EXPECT_TRUE(ended.status == 128 + SIGTERM || ended.status == 128 + SIGINT) << ended.status;
  EXPECT_EQ(ended.err.find("stopped by"), std::string::npos) << ended.err;
}

TEST(BatchTool, ThePlotIsDrawnOffAnyScreenWhateverThePlatformAskedFor) {
  TempWorkDir dir;
  for (const char* platform : {"xcb", "wayland", "nosuch"}) {
    const BatchRun run =
        Batch("ni 4 nj 4 sphere solve plot p.png",
              std::string("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=") + platform);
    EXPECT_EQ(run.status, 0) << platform << ": " << run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file("p.png")) << platform;
    std::filesystem::remove("p.png");
  }
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
}  // namespace tarvenol::testing
