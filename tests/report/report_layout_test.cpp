// The report after preparing the sphere, line by line.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fake_window.h"
#include "session/commands.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::TempWorkDir;

class SphereReport : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(program, win);
    PrepareSphere(program, win);
    ASSERT_TRUE(win.messages.empty());
    text = testing::ReadFile(dir.path() / "Tarvenol.txt");
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    rest = text.substr(start);
  }

  std::size_t LineOf(const std::string& line, std::size_t from = 0) {
    for (std::size_t n = from; n < lines.size(); ++n) {
      if (lines[n] == line) return n;
    }
    ADD_FAILURE() << "no line \"" << line << "\"";
    return lines.size();
  }

  TempWorkDir dir;
  Program program;
  FakeWindow win;
  std::string text;
  std::vector<std::string> lines;
  std::string rest;
};

TEST_F(SphereReport, EveryLineEndsInCarriageReturnLineFeed) {
  EXPECT_EQ(rest, "");
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST_F(SphereReport, TheProfileSection) {
  const std::vector<std::string> expected = {" Profile of the body of revolution",
                                             "  i     xI     rI",
                                             "",
                                             " 1    0.0  0.0  ",
                                             " 2    0.1464  0.3536  ",
                                             " 3    0.50  0.50  ",
                                             " 4    0.8536  0.3536  ",
                                             " 5    1.0  0.0  "};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8), expected);
}

TEST_F(SphereReport, TheBodyCoordinatesSection) {
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9], " Coordinates of the body of revolution");
  EXPECT_EQ(lines[10], "");
  // Profile point 2 at meridians -90, 0, 90, 180 and 270 degrees.
  EXPECT_EQ(lines[15], " x    = 0.1464  0.1464  0.1464  0.1464  0.1464  ");
  EXPECT_EQ(lines[16], " y    = 0.0  0.3536  0.0  -0.3536  -0.0  ");
  EXPECT_EQ(lines[17], " z    = -0.3536  0.0  0.3536  0.0  -0.3536  ");
  // The tail's radius is an exact zero, whose products are -0 and +0: never "-0.0".
  EXPECT_EQ(lines[27], " x    = 1.0  1.0  1.0  1.0  1.0  ");
  EXPECT_EQ(lines[28], " y    = 0.0  0.0  0.0  0.0  0.0  ");
  EXPECT_EQ(lines[29], " z    = 0.0  0.0  0.0  0.0  0.0  ");
  EXPECT_EQ(lines[30], "");
  EXPECT_EQ(lines[31], " Coordinates of panel corner points");
}

TEST_F(SphereReport, CornerSectionListsThreeCornersForTrianglesAndFourForTheRest) {
  const std::size_t title = LineOf(" Coordinates of panel corner points");
  EXPECT_EQ(lines[title + 1], "");
  EXPECT_EQ(lines[title + 2], " 1   1 ");
  EXPECT_EQ(lines[title + 3], " x    = 0.0  0.1464  0.1464  ");
  const std::size_t panel21 = LineOf(" 2   1 ", title);
  EXPECT_EQ(lines[panel21 + 1], " x    = 0.1464  0.50  0.50  0.1464  ");
  const std::size_t panel44 = LineOf(" 4   4 ", title);
  EXPECT_EQ(lines[panel44 + 1], " x    = 0.8536  1.0  0.8536  ");
  EXPECT_EQ(lines[panel44 + 4], "");
  EXPECT_EQ(lines[panel44 + 5], "");
  EXPECT_EQ(lines[panel44 + 6], " Coordinates of panel control points");
}

TEST_F(SphereReport, ControlPointAndCosineSections) {
  const std::size_t title = LineOf(" Coordinates of panel control points");
  EXPECT_EQ(lines[title + 2].rfind("xC   0.0976  0.0976  0.0976  0.0976  ", 0), 0u);
  EXPECT_EQ(lines[title + 6], "xC   0.3232  0.3232  0.3232  0.3232  ");
  EXPECT_EQ(lines[title + 4].substr(0, 12), "zC   -0.1179");
  EXPECT_EQ(lines[title + 7].substr(0, 13), "yC   0.2134  ");
  const std::size_t cosines = LineOf(" Cosine directors of panel axes", title);
  EXPECT_EQ(lines[cosines - 2], "");
  EXPECT_EQ(lines[cosines - 1], "");
  EXPECT_EQ(lines[cosines + 2].substr(0, 11), "XsiX 0.3827");
  EXPECT_EQ(lines[cosines + 6].substr(0, 5), "ItaX ");
  EXPECT_EQ(lines[cosines + 10].substr(0, 5), "ZtaX ");
  EXPECT_EQ(lines[cosines + 13], "");
}

TEST_F(SphereReport, CornersInPanelAxesAlwaysShowFourValues) {
  const std::size_t title = LineOf(" Coordinates of panel corner points in panel axis");
  EXPECT_EQ(lines[title - 2], "");
  EXPECT_EQ(lines[title - 1], "");
  EXPECT_EQ(lines[title + 2], " 1   1 ");
  for (int line : {3, 4}) {
    const std::string& values = lines[title + static_cast<std::size_t>(line)];
    EXPECT_EQ(values.substr(values.size() - 5), "0.0  ") << values;
  }
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(lines[lines.size() - 4], " 4   4 ");
}

}  // namespace
}  // namespace tarvenol
