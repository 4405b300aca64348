// The table of points of probe-csv as users and attackers hand it over: a spreadsheet's byte
// order mark, a line without end, the output named as the input by any name, and a cancel.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "fake_window.h"
#include "session/commands.h"
#include "session/field_commands.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

class ProbeTable : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(program, win);
    PrepareSphere(program, win);
    ApplyHessMethod(program, win);
    ASSERT_TRUE(win.messages.empty());
  }
  // Files of the folder other than the report: nothing is left beside a file not written.
  int OtherFiles() const {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      files += entry.path().filename() != "Tarvenol.txt";
    }
    return files;
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
  IgnoredProgress unseen;
};

TEST_F(ProbeTable, ASpreadsheetsByteOrderMarkIsSkipped) {
  WriteFile("marked.csv", "\xef\xbb\xbfx,y,z\r\n1.5,0.25,0\r\n");
  ProbeFlowTable(program, win, "marked.csv", "out.csv", unseen);
  EXPECT_TRUE(win.messages.empty()) << win.messages.front();
  const std::string table = ReadFile("out.csv");
  EXPECT_EQ(table.find("\n1.5,0.25,0,"), table.find('\n'));
}

TEST_F(ProbeTable, ALineLongerThanAnyRowIsRefusedWithoutReadingItWhole) {
  WriteFile("endless.csv", "x,y,z\n1,2,3\n" + std::string(16 << 20, '7'));
  ProbeFlowTable(program, win, "endless.csv", "out.csv", unseen);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(win.messages[0],
            "The points cannot be read from \"endless.csv\": line 3 is longer than 4096 "
            "characters, more than any row of three numbers.");
  EXPECT_EQ(OtherFiles(), 1);
}

TEST_F(ProbeTable, TheOutputIsNeverTheInputByAnyName) {
  const std::string points = "1.5,0.25,0\n2,0,0\n";
  WriteFile("in.csv", points);
  std::filesystem::create_symlink("in.csv", "link.csv");
  ASSERT_EQ(::link("in.csv", "hard.csv"), 0);
  for (const char* out : {"in.csv", "./in.csv", "link.csv", "hard.csv"}) {
    win.messages.clear();
    ProbeFlowTable(program, win, "in.csv", out, unseen);
    ASSERT_EQ(win.messages.size(), 1u) << out;
    EXPECT_NE(win.messages[0].find("it is the table of points it reads."), std::string::npos)
        << win.messages[0];
    EXPECT_EQ(ReadFile("in.csv"), points);
  }
  // Through the link the other way round, too.
  win.messages.clear();
  ProbeFlowTable(program, win, "link.csv", "in.csv", unseen);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_EQ(ReadFile("in.csv"), points);
}

TEST_F(ProbeTable, ACancelWritesNothing) {
  // Asked at its first look: reading, the expansions, the points or the writing stop there.
  struct Refusing : Progress {
    bool Advance(Stage, double) override { return false; }
  } refusing;
  std::string points;
  for (int k = 0; k < 20000; ++k) points += std::to_string(k) + ",1,2\n";
  WriteFile("in.csv", points);
  WriteFile("out.csv", "what was there\n");
  ProbeFlowTable(program, win, "in.csv", "out.csv", refusing);
  EXPECT_TRUE(win.messages.empty()) << win.messages.front();
  EXPECT_EQ(ReadFile("out.csv"), "what was there\n");
  EXPECT_EQ(OtherFiles(), 2);
}

}  // namespace
}  // namespace tarvenol
