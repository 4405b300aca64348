#include "session/commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/memory.h"
#include "fake_window.h"
#include "solver/hess_solve.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

const char* const kFiveRecords = "0\n5\n0\n1,0,0\n2,0.25,0.3\n3,0.5,0.4\n4,0.75,0.3\n5,1,0\n";

class CommandFlow : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(program, win); }

  bool Visible(ManagedControl c) { return win.visible[c]; }
  std::string Report() { return ReadFile(dir.path() / "Tarvenol.txt"); }
  void ChooseFile(const std::string& name, const std::string& text) {
    WriteFile(dir.path() / name, text);
    win.filePath = dir.path().string();
    win.fileName = name;
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
};

TEST(CommandFlowStartUp, SetsTheConstantsAndEmptiesAnOldReport) {
  TempWorkDir dir;
  WriteFile(dir.path() / "Tarvenol.txt", "an earlier run");
  Program program;
  FakeWindow win;
  StartUp(program, win);
  EXPECT_EQ(program.state.PI, std::atan(1.0) * 4);
  EXPECT_EQ(program.state.TwoPI, 2 * program.state.PI);
  EXPECT_EQ(program.state.FourPI, 4 * program.state.PI);
  EXPECT_EQ(program.state.OutFile, "Tarvenol.txt");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Tarvenol.txt"));
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "Tarvenol.txt"), 0u);
  EXPECT_FALSE(program.state.GeometryReady);
  EXPECT_TRUE(program.state.xB.Empty());
  EXPECT_TRUE(win.messages.empty());
}

TEST_F(CommandFlow, TheSphereWithTheDefaultCountsGivesFourByFourPanels) {
  ShowSphereCommand(program, win);
  EXPECT_TRUE(Visible(ManagedControl::Command_Sphere));
  PrepareSphere(program, win);
  const ModelState& s = program.state;
  EXPECT_TRUE(win.messages.empty());
  EXPECT_EQ(s.NI, 4);
  EXPECT_EQ(s.NI1, 5);
  EXPECT_EQ(s.NJ1, 5);
  EXPECT_EQ(s.xB.Limit(0), 5u);
  EXPECT_EQ(s.NCor.Limit(1), 4u);
  EXPECT_TRUE(s.GeometryReady);
  EXPECT_TRUE(s.ShowPanels);
  EXPECT_FALSE(s.ShowSolution);
  EXPECT_FALSE(Visible(ManagedControl::Command_Sphere));
  EXPECT_TRUE(Visible(ManagedControl::Command_HessPan));
  EXPECT_FALSE(Visible(ManagedControl::Frame_IOWindow));
  EXPECT_EQ(Report().rfind(" Profile of the body of revolution\r\n", 0), 0u);
}

TEST_F(CommandFlow, CountsAreReadAsTheNumbersTheTextsBeginWith) {
  win.texts[TextBox::Text_NI] = "12 panels";
  win.texts[TextBox::Text_NJ] = " 6";
  PrepareSphere(program, win);
  EXPECT_EQ(program.state.NI, 12);
  EXPECT_EQ(program.state.NJ, 6);
}

TEST_F(CommandFlow, BadCountsAreRefusedBeforeAnythingIsBuiltOrWritten) {
  PrepareSphere(program, win);
  const std::string report = Report();
  // A typed text is shown cut short and printable, however long and whatever it holds.
  const std::string huge = std::string(128 << 10, '7') + "\x01\n";
  for (const std::string& bad :
       std::vector<std::string>{"", "abc", "0", "-3", "4.5", "1e999", "2000000", "1", huge}) {
    for (TextBox box : {TextBox::Text_NI, TextBox::Text_NJ}) {
      FakeWindow w;
      w.texts[box] = bad;
      w.visible = win.visible;
      PrepareSphere(program, w);
      ASSERT_EQ(w.messages.size(), 1u) << bad;
      EXPECT_EQ(w.messages[0].rfind(box == TextBox::Text_NI
                                        ? "NI must be a whole number from 2 to 1000000; "
                                        : "NJ must be a whole number from 3 to 1000000; ",
                                    0),
                0u)
          << w.messages[0];
      EXPECT_LT(w.messages[0].size(), 120u);
      EXPECT_EQ(w.messages[0].find_first_of("\x01\n"), std::string::npos);
      EXPECT_EQ(w.visible, win.visible);
      EXPECT_TRUE(w.canvas.ops.empty());
    }
  }
  win.texts[TextBox::Text_NJ] = "2";  // two meridians make a flat plate, no body
  PrepareSphere(program, win);
  EXPECT_EQ(win.messages,
            std::vector<std::string>{"NJ must be a whole number from 3 to 1000000; \"2\" is not."});
  EXPECT_EQ(program.state.NI, 4);
  EXPECT_EQ(program.state.xB.Limit(0), 5u);
  EXPECT_EQ(Report(), report);
}

TEST_F(CommandFlow, CountsBeyondTheMachinesMemoryAreRefusedBeforeAllocating) {
  PrepareSphere(program, win);
  win.texts[TextBox::Text_NI] = "1000000";
  win.texts[TextBox::Text_NJ] = "1000000";
  PrepareSphere(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("This geometry would need"), std::string::npos) << win.messages[0];
  EXPECT_NE(win.messages[0].find("TiB of memory"), std::string::npos) << win.messages[0];
  EXPECT_EQ(program.state.NI, 4);
}

TEST_F(CommandFlow, DegeneratePanelsAreRefusedAndEverythingStays) {
  PrepareSphere(program, win);
  const ModelState before = program.state;
  const std::string report = Report();
  const struct {
    const char* profile;
    const char* fault;
  } cases[] = {
      {"0\n5\n0\n1,0,0\n2,0.25,0.3\n3,0.25,0.3\n4,0.75,0.3\n5,1,0\n",
       "Panel (2, 1) has a first edge of no length"},
      {"0\n5\n0\n1,0,0\n2,0.25,0.3\n3,0.5,0\n4,0.75,0.3\n5,1,0\n",
       "Panel (2, 1) has its corners 1, 2 and 3 on one line"},
  };
  for (const auto& c : cases) {
    win.messages.clear();
    ChooseFile("degenerate.body", c.profile);
    win.texts[TextBox::Text_NI] = "7";
    PrepareBodyFile(program, win);
    ASSERT_EQ(win.messages.size(), 1u);
    EXPECT_EQ(win.messages[0].rfind(c.fault, 0), 0u) << win.messages[0];
    EXPECT_EQ(win.texts[TextBox::Text_NI], "7");
    EXPECT_EQ(program.state.NI, before.NI);
    EXPECT_EQ(program.state.xCor.Size(), before.xCor.Size());
    EXPECT_EQ(program.state.XsiX(2, 2), before.XsiX(2, 2));
    EXPECT_EQ(Report(), report);
  }
}

TEST_F(CommandFlow, ABodyFileWithAnotherPointCountSetsNIAndItsText) {
  ChooseFile("five.body", kFiveRecords);
  win.texts[TextBox::Text_NI] = "30";
  win.texts[TextBox::Text_NJ] = "6";
  PrepareBodyFile(program, win);
  ASSERT_TRUE(win.messages.empty()) << win.messages[0];
  const ModelState& s = program.state;
  EXPECT_EQ(s.NI, 4);
  EXPECT_EQ(s.NI1, 5);
  EXPECT_EQ(s.NJ, 6);
  EXPECT_EQ(win.texts[TextBox::Text_NI], "4");
  EXPECT_EQ(s.BodyFile, (dir.path() / "five.body").string());
  EXPECT_EQ(program.body.rI(3), 0.4);
  EXPECT_TRUE(Visible(ManagedControl::Command_HessPan));
  EXPECT_FALSE(Visible(ManagedControl::Frame_IOWindow));

  // The sphere that follows uses the count the file left in the box.
  win.texts[TextBox::Text_NJ] = "4";
  PrepareSphere(program, win);
  EXPECT_EQ(program.state.NI, 4);

  // A file of the count typed leaves the box as it was typed.
  win.texts[TextBox::Text_NI] = "4 typed";
  PrepareBodyFile(program, win);
  EXPECT_EQ(win.texts[TextBox::Text_NI], "4 typed");
}

TEST_F(CommandFlow, ABodyFileLeavesTheSphereButtonAsItWas) {
  ShowSphereCommand(program, win);
  ShowFileChooser(program, win);
  EXPECT_TRUE(Visible(ManagedControl::Frame_IOWindow));
  ChooseFile("five.body", kFiveRecords);
  PrepareBodyFile(program, win);
  EXPECT_TRUE(Visible(ManagedControl::Command_Sphere));
  EXPECT_FALSE(Visible(ManagedControl::Frame_IOWindow));
}

TEST_F(CommandFlow, AFailedBodyFileKeepsEverythingOfThePreviousGeometry) {
  PrepareSphere(program, win);
  ShowFileChooser(program, win);
  const std::string report = Report();
  const struct {
    const char* text;
    const char* fault;
  } bad[] = {
      {"0\n31\n0\n1,0,0\n2,0.5,0.1\n", "ends before the number of point 3 of 31"},
      {"0\n5\n0\n1,0,0\n2,abc,0.3\n", "line 5, value 2: \"abc\" is not a number"},
      {"0\n4.5\n0\n", "line 2, value 1: a number of profile points"},
      {"0\n2\n0\n1,0,0\n2,1,0\n", "not a whole number from 3 to 1000001"},
      {"", "ends before its first header value"},
  };
  for (const auto& b : bad) {
    win.messages.clear();
    win.texts[TextBox::Text_NI] = "4";
    ChooseFile("bad.body", b.text);
    PrepareBodyFile(program, win);
    ASSERT_EQ(win.messages.size(), 1u) << b.text;
    EXPECT_NE(win.messages[0].find("bad.body"), std::string::npos) << win.messages[0];
    EXPECT_NE(win.messages[0].find(b.fault), std::string::npos) << win.messages[0];
    EXPECT_EQ(win.texts[TextBox::Text_NI], "4");
    EXPECT_EQ(program.state.NI, 4);
    EXPECT_EQ(program.state.NI1, 5);
    EXPECT_EQ(program.state.BodyFile, "");
    EXPECT_EQ(program.body.xI.Limit(0), 5u);
    EXPECT_TRUE(Visible(ManagedControl::Frame_IOWindow));
    EXPECT_EQ(Report(), report);
  }
}

TEST_F(CommandFlow, AMissingBodyFileIsNamedInItsMessage) {
  win.filePath = dir.path().string();
  win.fileName = "gone.body";
  PrepareBodyFile(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("gone.body\" cannot be opened"), std::string::npos);
  EXPECT_FALSE(program.state.GeometryReady);
}

TEST_F(CommandFlow, AReportThatCannotBeWrittenIsReportedAndTheGeometryIsNotTaken) {
  std::filesystem::remove(dir.path() / "Tarvenol.txt");
  std::filesystem::create_directory(dir.path() / "Tarvenol.txt");
  PrepareSphere(program, win);
  ASSERT_EQ(win.messages.size(), 1u);
  EXPECT_NE(win.messages[0].find("report file \"Tarvenol.txt\""), std::string::npos);
  EXPECT_FALSE(program.state.GeometryReady);
  EXPECT_FALSE(Visible(ManagedControl::Command_HessPan));
}

TEST_F(CommandFlow, TwoSpheresInARowAppendTwoSetsOfSections) {
  ShowSphereCommand(program, win);
  PrepareSphere(program, win);
  ShowSphereCommand(program, win);
  win.texts[TextBox::Text_NI] = "6";
  PrepareSphere(program, win);
  const std::string report = Report();
  std::vector<std::size_t> at;
  for (const char* title :
       {" Profile of the body of revolution", " Coordinates of the body of revolution",
        " Coordinates of panel corner points\r", " Coordinates of panel control points",
        " Cosine directors of panel axes", " Coordinates of panel corner points in panel axis",
        " Profile of the body of revolution", " Coordinates of the body of revolution",
        " Coordinates of panel corner points\r", " Coordinates of panel control points",
        " Cosine directors of panel axes", " Coordinates of panel corner points in panel axis"}) {
    const std::size_t from = at.empty() ? 0 : at.back() + 1;
    at.push_back(report.find(title, from));
    ASSERT_NE(at.back(), std::string::npos) << title;
  }
  EXPECT_EQ(program.state.NI, 6);
}

TEST_F(CommandFlow, ApplyingTheMethodWithoutAGeometryOnlyAsksForOne) {
  ApplyHessMethod(program, win);
  ASSERT_EQ(win.messages, std::vector<std::string>{"Geometriyi hazırla"});
  EXPECT_EQ(program.state.VinfX, 0);
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "Tarvenol.txt"), 0u);
}

// What cannot fit is never asked about as a long run: only the solve by the body's symmetry,
// which can, is offered; declined, nothing is done.
TEST_F(CommandFlow, ASolveThatCannotFitIsOfferedOnlyByTheSymmetry) {
  // 40000 panels: three matrices of about 36 GiB, and a report that would grow by 31 GiB.
  if (AvailableMemoryBytes() >= MatrixBytes(40000, 3)) GTEST_SKIP() << "40000 panels fit here";
  win.texts[TextBox::Text_NI] = "200";
  win.texts[TextBox::Text_NJ] = "200";
  PrepareSphere(program, win);
  const std::string report = Report();
  win.answer = false;
  ApplyHessMethod(program, win);
  ASSERT_EQ(win.questions.size(), 1u);
  EXPECT_EQ(win.questions[0].rfind("Hess's panel method for 40000 panels needs", 0), 0u)
      << win.questions[0];
  EXPECT_NE(win.questions[0].find("Solve it by the body's symmetry instead?"), std::string::npos);
  EXPECT_TRUE(win.messages.empty());
  EXPECT_FALSE(program.state.ShowSolution);
  EXPECT_EQ(Report(), report);
}

TEST_F(CommandFlow, ADriveChangeMovesTheDirectoryListWhichMovesTheFileList) {
  win.drive = "/media/usb";
  win.dirPath = "/home";
  win.onDirectoryChanged = [this] { DirectoryChanged(program, win); };
  DriveChanged(program, win);
  EXPECT_EQ(win.calls,
            (std::vector<std::string>{"SetDirPath /media/usb", "SetFilePath /media/usb"}));
}

TEST_F(CommandFlow, AFaultOfTheSystemLibraryBecomesAMessage) {
  struct BrokenChooser : FakeWindow {
    std::string GetFilePath() override {
      throw std::filesystem::filesystem_error("no such place", std::error_code());
    }
  } broken;
  PrepareSphere(program, win);
  PrepareBodyFile(program, broken);
  ASSERT_EQ(broken.messages.size(), 1u);
  EXPECT_EQ(broken.messages[0].rfind("The operation could not be done: ", 0), 0u);
  EXPECT_TRUE(program.state.GeometryReady);
  EXPECT_EQ(program.state.NI, 4);
}

TEST_F(CommandFlow, AboutShowsTheAboutWindow) {
  ShowAbout(program, win);
  EXPECT_EQ(win.aboutShown, 1);
}

}  // namespace
}  // namespace tarvenol
