#include "core/whole_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "core/program_error.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

namespace fs = std::filesystem;

const std::vector<HeldFile> kNothingHeld;

// Writes text to path; the message of the refusal, or "" when it was written.
std::string Write(const std::string& path, const std::string& text,
                  const std::vector<HeldFile>& held = kNothingHeld) {
  try {
    WriteWholeFile(path, "table", text, held);
    return "";
  } catch (const ProgramError& e) {
    return e.what();
  }
}

int FilesIn(const fs::path& folder) {
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++files;
  return files;
}

TEST(WholeFile, ALinkIsFollowedAndTheFileKeepsItsMode) {
  TempWorkDir dir;
  WriteFile("data.csv", "before");
  fs::permissions("data.csv", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("data.csv", "link.csv");
  ASSERT_EQ(Write("link.csv", "after"), "");
  EXPECT_TRUE(fs::is_symlink("link.csv"));
  EXPECT_EQ(ReadFile("data.csv"), "after");
  EXPECT_EQ(fs::status("data.csv").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  // A link to a name not taken yet makes that file; a loop of links makes nothing.
  fs::create_directory("sub");
  fs::create_symlink("sub/new.csv", "ahead.csv");
  ASSERT_EQ(Write("ahead.csv", "made"), "");
  EXPECT_EQ(ReadFile("sub/new.csv"), "made");
  fs::create_symlink("loop2.csv", "loop1.csv");
  fs::create_symlink("loop1.csv", "loop2.csv");
  EXPECT_EQ(Write("loop1.csv", "x"),
            "The table cannot be written to \"loop1.csv\": Too many levels of symbolic links.");
  EXPECT_EQ(FilesIn("."), 6);  // the file, the folder and the four links
}

TEST(WholeFile, OnlyARegularFileOrANewNameInAFolderIsTaken) {
  TempWorkDir dir;
  ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
  fs::create_directory("folder.csv");
  for (const char* path : {"/dev/null", "pipe.csv", "folder.csv"}) {
    EXPECT_NE(Write(path, "x").find("it is not a regular file"), std::string::npos) << path;
  }
  EXPECT_EQ(Write("missing/data.csv", "x"),
            "The table cannot be written to \"missing/data.csv\": No such file or directory.");
  // The name is the bytes given, also where they are no UTF-8.
  ASSERT_EQ(Write("\xff\xfe.csv", "bytes"), "");
  EXPECT_EQ(ReadFile("\xff\xfe.csv"), "bytes");
  EXPECT_EQ(FilesIn("."), 3);
}

TEST(WholeFile, AHeldFileIsRefusedByAnyName) {
  TempWorkDir dir;
  WriteFile("report.txt", "the report");
  const std::vector<HeldFile> held{{"report.txt", "the report"}, {"later.txt", "the other"}};
  fs::create_symlink("report.txt", "link.txt");
  fs::create_hard_link("report.txt", "hard.txt");
  const std::string absolute = (dir.path() / "report.txt").string();
  for (const std::string& path : {std::string("report.txt"), std::string("./report.txt"), absolute,
                                  std::string("link.txt"), std::string("hard.txt")}) {
    EXPECT_NE(Write(path, "x", held).find(": it is the report."), std::string::npos) << path;
  }
  EXPECT_EQ(ReadFile("report.txt"), "the report");
  // One that does not exist yet, by the name it will have.
  fs::create_symlink("later.txt", "to-later.txt");
  EXPECT_NE(Write("to-later.txt", "x", held).find(": it is the other."), std::string::npos);
  EXPECT_FALSE(fs::exists("later.txt"));
}

TEST(WholeFile, AWriteThatFailsPartWayLeavesWhatWasThere) {
  TempWorkDir dir;
  WriteFile("data.csv", "before");
  // A limit on file sizes cuts a write short, as a full disk does.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 10000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string fault = Write("data.csv", std::string(12288, 'x'));
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(fault, "The table cannot be written to \"data.csv\": File too large.");
  // Nor does a writer that stops halfway.
  EXPECT_THROW(WriteWholeFile(
                   "data.csv", "table",
                   [](FileSink& out) {
                     out.Write("half");
                     throw ProgramError("stopped");
                   },
                   kNothingHeld),
               ProgramError);
  EXPECT_EQ(ReadFile("data.csv"), "before");
  EXPECT_EQ(FilesIn("."), 1);
}

}  // namespace
}  // namespace tarvenol
