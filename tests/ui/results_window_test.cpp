// The results menu: the pressure plot follows the solution shown, and the exports ask where.

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLineEdit>
#include <QPushButton>

#include "form_fixture.h"

namespace tarvenol::testing {
namespace {

class ResultsWindow : public FormTest {
 protected:
  void SetUp() override {
    form = std::make_unique<Form1>(
        [this](const std::string& text) { messages.push_back(text); }, nullptr,
        [this](const QString& title, const QString& suggested, const QString&) {
          asked.push_back(title.toStdString());
          return chosen.isEmpty()
                     ? QString::fromStdString((dir.path() / suggested.toStdString()).string())
                     : chosen;
        });
    Show();
  }
  void Click(const char* button) {
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
    Settle();
  }
  QChart* Plot() { return Control<QChartView>("Chart_Pressure")->chart(); }

  std::vector<std::string> asked;
  QString chosen;  // the path the user chooses, instead of the one suggested
};

TEST_F(ResultsWindow, ThePlotFollowsTheSolutionShown) {
  Control<QAction>("Mn_Pressure")->trigger();
  ASSERT_TRUE(Control<QWidget>("Form_Pressure")->isVisible());
  EXPECT_TRUE(Plot()->series().isEmpty());
  EXPECT_TRUE(Plot()->title().startsWith("No solution yet"));

  Control<QAction>("Mn_Sphere")->trigger();
  Click("Command_Sphere");
  Click("Command_HessPan");
  EXPECT_EQ(Plot()->title().toStdString(),
            "Pressure along the sphere, 4 × 4 panels; exact for a sphere: 1 − Cp = 9/4 sin²θ");
  EXPECT_EQ(Plot()->series().size(), 6);

  // A new geometry has no solution: the plot says so until the method is applied again.
  Control<QAction>("Mn_Sphere")->trigger();
  Click("Command_Sphere");
  EXPECT_TRUE(Plot()->series().isEmpty());
}

TEST_F(ResultsWindow, TheExportsAskWhereAndWriteThere) {
  Control<QAction>("Mn_ExportCsv")->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("no solution to export"), std::string::npos);
  Control<QAction>("Mn_Sphere")->trigger();
  Click("Command_Sphere");
  Click("Command_HessPan");
  Control<QAction>("Mn_ExportVtk")->trigger();
  Control<QAction>("Mn_ExportCsv")->trigger();
  EXPECT_EQ(asked,
            (std::vector<std::string>{"Export the panels as VTK", "Export the panels as CSV"}));
  EXPECT_EQ(ReadFile(dir.path() / "panels.vtp").rfind("<?xml", 0), 0u);
  EXPECT_EQ(ReadFile(dir.path() / "panels.csv").rfind("i,j,xC,", 0), 0u);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ResultsWindow, AnExportAimedAtTheReportIsRefused) {
  Control<QAction>("Mn_Sphere")->trigger();
  Click("Command_Sphere");
  Click("Command_HessPan");
  const std::string report = ReadFile(dir.path() / "Tarvenol.txt");
  chosen = "Tarvenol.txt";
  Control<QAction>("Mn_ExportCsv")->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"Tarvenol.txt\": it is the program's report."), std::string::npos)
      << messages[0];
  EXPECT_TRUE(ReadFile(dir.path() / "Tarvenol.txt") == report);
}

}  // namespace
}  // namespace tarvenol::testing
