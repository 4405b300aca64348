#include "core/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// What the batch tool's tests of its files (tests/batch/files_test.cpp) do not reach: links
// that lead nowhere yet or in a loop, what is not a file, a held file by another name or before
// it exists, a writer that stops halfway.

TEST(WholeFile, ALinkToANameNotTakenMakesThatFileALoopMakesNothing) {
  TempWorkDir dir;
  fs::create_directory("sub");
  fs::create_symlink("sub/new.csv", "ahead.csv");
  ASSERT_EQ(Write("ahead.csv", "made"), "");
  EXPECT_TRUE(fs::is_symlink("ahead.csv"));
  EXPECT_EQ(ReadFile("sub/new.csv"), "made");
  fs::create_symlink("loop2.csv", "loop1.csv");
  fs::create_symlink("loop1.csv", "loop2.csv");
  EXPECT_EQ(Write("loop1.csv", "x"),
            "The table cannot be written to \"loop1.csv\": Too many levels of symbolic links.");
  EXPECT_EQ(FilesIn("."), 4);  // the folder and the three links
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
  EXPECT_EQ(FilesIn("."), 2);
}

TEST(WholeFile, AHeldFileIsRefusedByAnyName) {
  TempWorkDir dir;
  WriteFile("report.txt", "the report");
  const std::vector<HeldFile> held{{"report.txt", "the report"}, {"later.txt", "the other"}};
  fs::create_hard_link("report.txt", "hard.txt");
  EXPECT_NE(Write("hard.txt", "x", held).find(": it is the report."), std::string::npos);
  EXPECT_EQ(ReadFile("report.txt"), "the report");
  // One that does not exist yet, by the name it will have.
  fs::create_symlink("later.txt", "to-later.txt");
  EXPECT_NE(Write("to-later.txt", "x", held).find(": it is the other."), std::string::npos);
  EXPECT_FALSE(fs::exists("later.txt"));
}

TEST(WholeFile, AWriterThatStopsHalfwayLeavesWhatWasThere) {
  TempWorkDir dir;
  WriteFile("data.csv", "before");
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
