// "Apply Hess panel method" where the full solve cannot fit, or would grow the report past what
// is asked about: the window offers the solve by the body's symmetry in its question, and
// refuses only what neither can do. A machine with little memory is a limit on the address
// space (what ulimit -v sets), laid on the test's own process while it plans and solves.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>

#include "fake_window.h"
#include "session/commands.h"
#include "session/solve_estimate.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;

constexpr double kMiB = 1 << 20;

double AddressSpaceUsed() {
  double kib = 0;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      if (std::sscanf(line, "VmSize: %lf kB", &kib) == 1) break;
    }
    std::fclose(status);
  }
  return kib * 1024;
}

// The address space limited to what the process uses now and the given room, until the end of
// the scope.
class AddressSpaceRoom {
 public:
  explicit AddressSpaceRoom(double room) {
    getrlimit(RLIMIT_AS, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = static_cast<rlim_t>(AddressSpaceUsed() + room);
    setrlimit(RLIMIT_AS, &limit);
  }
  ~AddressSpaceRoom() { setrlimit(RLIMIT_AS, &previous_); }
  AddressSpaceRoom(const AddressSpaceRoom&) = delete;
  AddressSpaceRoom& operator=(const AddressSpaceRoom&) = delete;

 private:
  rlimit previous_{};
};

class SymmetricOffer : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(program, win); }
  void PrepareSphere(int ni, int nj) {
    win.texts[TextBox::Text_NI] = std::to_string(ni);
    win.texts[TextBox::Text_NJ] = std::to_string(nj);
    tarvenol::PrepareSphere(program, win);
    ASSERT_TRUE(win.messages.empty()) << win.messages.front();
    report = Report();
  }
  std::string Report() { return ReadFile(dir.path() / "Tarvenol.txt"); }
  bool Asked(std::size_t q, const std::string& text) {
    return q < win.questions.size() && win.questions[q].find(text) != std::string::npos;
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
  std::string report;
  IgnoredProgress unseen;
};

// The machine's memory made small by a limit on the address space.
class LittleMemory : public SymmetricOffer {
 protected:
  void SetUp() override {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer takes far more address space than the limits";
#endif
    SymmetricOffer::SetUp();
  }
};

TEST_F(LittleMemory, ABodyTooLargeForTheFullSolveIsSolvedByItsSymmetryWhenTheUserTakesIt) {
  // 16384 panels: 6.0 GiB of full matrices, a few MiB by the symmetry.
  PrepareSphere(128, 128);
  {
    const AddressSpaceRoom room(512 * kMiB);
    win.answer = true;
    ApplyHessMethod(program, win);
  }
  ASSERT_TRUE(win.messages.empty()) << win.messages.front();
  ASSERT_EQ(win.questions.size(), 1u);
  EXPECT_TRUE(Asked(0,
                    "Hess's panel method for 16384 panels needs 6.0 GiB for the full "
                    "matrices, but only "))
      << win.questions[0];
  EXPECT_TRUE(Asked(0,
                    "Solve it by the body's symmetry instead? The report then leaves out the "
                    "three influence matrices"))
      << win.questions[0];
  EXPECT_TRUE(program.state.ShowSolution);
  ASSERT_EQ(program.solution.flows.size(), 3u);
  EXPECT_NEAR(program.state.OneMinusCp(64, 1), 2.25, 0.01);  // beside the equator
  const std::string added = Report().substr(report.size());
  EXPECT_EQ(added.rfind("\r\nHess method - Normal velocities\r\n\r\n The matrix was not formed: "
                        "the flow was solved by the body's rotational symmetry.\r\n\r\nu "
                        "Tangential velocities\r\n",
                        0),
            0u)
      << added.substr(0, 300);
  EXPECT_NE(added.find("\r\n\r\nSource strengths\r\n\r\n"), std::string::npos);
  EXPECT_NE(added.find("\r\n\r\n1-Cp\r\n\r\n"), std::string::npos);
}

TEST_F(LittleMemory, DecliningTheOfferOfABodyTooLargeForTheFullSolveDoesNothing) {
  PrepareSphere(128, 128);
  {
    const AddressSpaceRoom room(512 * kMiB);
    win.answer = false;
    ApplyHessMethod(program, win);
  }
  EXPECT_EQ(win.questions.size(), 1u);
  EXPECT_TRUE(win.messages.empty());
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_TRUE(Report() == report);
}

TEST_F(LittleMemory, WhatNeitherSolveCanFitIsRefusedWithoutAQuestion) {
  // 1000 rings: 40 MiB of mode matrices by the symmetry, 1.5 GiB of full matrices.
  PrepareSphere(1000, 8);
  {
    const AddressSpaceRoom room(20 * kMiB);
    ApplyHessMethod(program, win);
  }
  EXPECT_TRUE(win.questions.empty());
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(win.messages[0].rfind("Hess's panel method for 8000 panels would need 1.4 GiB of "
                                  "memory for the full matrices, or ",
                                  0),
            0u)
      << win.messages[0];
  EXPECT_NE(win.messages[0].find(" by the body's symmetry, but only "), std::string::npos);
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_TRUE(Report() == report);
}

TEST_F(SymmetricOffer, AFullSolveWhoseReportWouldPassAGigabyteIsAskedAboutAfterTheOffer) {
  // 10000 panels: a report of about 1.5 GB. Declined twice, nothing is done.
  PrepareSphere(100, 100);
  win.answer = false;
  ApplyHessMethod(program, win);
  ASSERT_EQ(win.questions.size(), 2u);
  EXPECT_TRUE(Asked(0, "Solve it by the body's symmetry instead?")) << win.questions[0];
  EXPECT_TRUE(Asked(1,
                    "Hess's panel method for 10000 panels: the three matrices take 2.2 GiB of "
                    "memory, and the report grows by about 1."))
      << win.questions[1];
  EXPECT_TRUE(Asked(1, "This may take a long time. Apply it?")) << win.questions[1];
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_TRUE(Report() == report);
}

// What the report grows by, counted before the solve, against what it grows by. At 900 panels
// every coefficient is counted; a sample of a few thousand of the 331776 pairs of 576 panels
// must come as near.
TEST_F(SymmetricOffer, TheEstimateOfTheReportIsWithinFivePercentOfWhatIsWritten) {
  PrepareSphere(30, 30);
  const SolveEstimate e = EstimateSolve(program.state);
  ApplyHessMethod(program, win);
  const double full = static_cast<double>(Report().size() - report.size());
  EXPECT_NEAR(e.reportBytes / full, 1, 0.05) << e.reportBytes << " against " << full;
  PrepareSphere(30, 30);
  RunOperation(program, win, PlanSolve(program, win, SolveKind::Symmetric), unseen);
  const double symmetric = static_cast<double>(Report().size() - report.size());
  EXPECT_NEAR(e.symmetricReportBytes / symmetric, 1, 0.05)
      << e.symmetricReportBytes << " against " << symmetric;

  PrepareSphere(24, 24);
  const double exact = EstimateSolve(program.state, 1 << 30).reportBytes;
  EXPECT_NEAR(EstimateSolve(program.state, 4096).reportBytes / exact, 1, 0.05);
}

}  // namespace
}  // namespace tarvenol
