// The report file fails in every way we can arrange: the operation says so, and the model
// state and the report stay as they were.

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <csignal>
#include <filesystem>

#include "fake_window.h"
#include "session/commands.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;

namespace fs = std::filesystem;

class ReportFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(program, win);
    ShowSphereCommand(program, win);
    PrepareSphere(program, win);
    ASSERT_TRUE(win.messages.empty());
    ShowSphereCommand(program, win);
  }

  // The next sphere fails; everything of the first geometry must still be there.
  void ExpectSphereRefused(const std::string& fault) {
    const ModelState before = program.state;
    const auto visible = win.visible;
    std::error_code none;
    const bool regular = fs::is_regular_file(dir.path() / "Tarvenol.txt", none);
    const std::string report = regular ? ReadFile(dir.path() / "Tarvenol.txt") : "";
    win.texts[TextBox::Text_NI] = "6";
    PrepareSphere(program, win);
    ASSERT_EQ(win.messages.size(), 1u);
    EXPECT_NE(win.messages[0].find("the report file \"Tarvenol.txt\": " + fault), std::string::npos)
        << win.messages[0];
    if (regular) {
      EXPECT_EQ(ReadFile(dir.path() / "Tarvenol.txt"), report);
    }
    EXPECT_EQ(program.state.NI, before.NI);
    EXPECT_EQ(program.state.xB.Size(), before.xB.Size());
    EXPECT_EQ(program.state.xC(2, 2), before.xC(2, 2));
    EXPECT_TRUE(program.state.GeometryReady);
    EXPECT_EQ(win.visible, visible);
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
};

TEST_F(ReportFaults, AFolderNamedLikeTheReport) {
  fs::remove(dir.path() / "Tarvenol.txt");
  fs::create_directory(dir.path() / "Tarvenol.txt");
  ExpectSphereRefused("Is a directory");
}

TEST_F(ReportFaults, ADeviceOrAPipeNamedLikeTheReport) {
  // Neither is written into; a pipe without a reader would block the program for ever.
  fs::remove(dir.path() / "Tarvenol.txt");
  fs::create_symlink("/dev/full", dir.path() / "Tarvenol.txt");
  ExpectSphereRefused("it is not a regular file");
  fs::remove(dir.path() / "Tarvenol.txt");
  ASSERT_EQ(mkfifo((dir.path() / "Tarvenol.txt").c_str(), 0600), 0);
  win.messages.clear();
  ExpectSphereRefused("it is not a regular file");
}

TEST_F(ReportFaults, AWriteThatFailsHalfwayIsCutBack) {
  // A limit on the size of files the process may write fails the write as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  const auto size = fs::file_size(dir.path() / "Tarvenol.txt");
  rlimit small = previous;
  small.rlim_cur = size + 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  ExpectSphereRefused("File too large");
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, SIG_DFL);
}

TEST_F(ReportFaults, AReadOnlyFile) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes read-only files";
  fs::permissions(dir.path() / "Tarvenol.txt", fs::perms::owner_read);
  ExpectSphereRefused("Permission denied");
}

TEST_F(ReportFaults, ASmallFileSystemThatFillsUp) {
  const fs::path small = dir.path() / "small";
  fs::create_directory(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  fs::current_path(small);
  Program p;
  FakeWindow w;
  StartUp(p, w);
  w.texts[TextBox::Text_NI] = "40";
  w.texts[TextBox::Text_NJ] = "40";
  PrepareSphere(p, w);
  fs::current_path(dir.path());
  umount(small.c_str());
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_NE(w.messages[0].find("No space left on device"), std::string::npos) << w.messages[0];
  EXPECT_FALSE(p.state.GeometryReady);
}

TEST(ReportFaultsAtStartUp, AReadOnlyFolder) {
  // A read-only file system refuses even the superuser, who would write a read-only folder.
  TempWorkDir dir;
  const fs::path folder = dir.path() / "read-only";
  fs::create_directory(folder);
  const bool mounted = mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=16k") == 0;
  if (!mounted) {
    if (geteuid() == 0) GTEST_SKIP() << "cannot mount a read-only file system here";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  }
  fs::current_path(folder);
  Program program;
  FakeWindow win;
  StartUp(program, win);
  PrepareSphere(program, win);
  fs::current_path(dir.path());
  if (mounted) umount(folder.c_str());
  ASSERT_EQ(win.messages.size(), 2u);
  EXPECT_EQ(win.messages[0].rfind("Cannot create the report file \"Tarvenol.txt\": ", 0), 0u);
  EXPECT_EQ(win.messages[1].rfind("Cannot open the report file \"Tarvenol.txt\": ", 0), 0u);
  EXPECT_FALSE(program.state.GeometryReady);
}

TEST(ReportFaultsAtStartUp, AReportThatCannotBeCreatedIsSaidAndTheProgramGoesOn) {
  TempWorkDir dir;
  fs::create_directory(dir.path() / "Tarvenol.txt");
  Program program;
  FakeWindow win;
  StartUp(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(win.messages[0].rfind("Cannot create the report file \"Tarvenol.txt\": ", 0), 0u);
  EXPECT_EQ(program.state.OutFile, "Tarvenol.txt");
  // Once the folder is gone the program works as usual.
  fs::remove(dir.path() / "Tarvenol.txt");
  PrepareSphere(program, win);
  EXPECT_EQ(win.messages.size(), 1u);
  EXPECT_TRUE(program.state.GeometryReady);
}

// Another process holds the report while the program starts in the same folder.
TEST(ReportFaultsAtStartUp, AReportTakenByAnotherProgramIsLeftAlone) {
  TempWorkDir dir;
  testing::WriteFile(dir.path() / "Tarvenol.txt", "the other program's report\r\n");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    const int fd = open("Tarvenol.txt", O_WRONLY);
    flock(fd, LOCK_EX);
    char done = 1;
    if (write(ready[1], &done, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char done = 0;
  ASSERT_EQ(read(ready[0], &done, 1), 1);

  Program program;
  FakeWindow win;
  EXPECT_FALSE(StartUp(program, win));
  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(
      win.messages[0].find("is being written by another program (process " + std::to_string(other)),
      std::string::npos)
      << win.messages[0];
  EXPECT_EQ(ReadFile(dir.path() / "Tarvenol.txt"), "the other program's report\r\n");

  // Once the other has ended, the report is this program's.
  EXPECT_TRUE(StartUp(program, win));
  EXPECT_EQ(ReadFile(dir.path() / "Tarvenol.txt"), "");
}

}  // namespace
}  // namespace tarvenol
