// The results menu: the pressure plot follows the solution shown, and the exports ask where.

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

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
          return QString::fromStdString((dir.path() / suggested.toStdString()).string());
        });
    Show();
  }
  void Click(const char* button) {
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
    Settle();
  }
  QChart* Plot() { return Control<QChartView>("Chart_Pressure")->chart(); }

  std::vector<std::string> asked;
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

// The angle of attack is set in the incidence window, by its slider or its box; the pressure plot
// follows it, a bad text is refused, and the added masses are asked for there.
TEST_F(ResultsWindow, TheIncidenceWindowSetsTheAngleThePlotFollows) {
  Control<QLineEdit>("Text_NI")->setText("8");
  Control<QLineEdit>("Text_NJ")->setText("8");
  Control<QAction>("Mn_Sphere")->trigger();
  Click("Command_Sphere");
  Click("Command_HessPan");
  Control<QAction>("Mn_Pressure")->trigger();
  Control<QAction>("Mn_Incidence")->trigger();
  ASSERT_TRUE(Control<QWidget>("Form_Incidence")->isVisible());

  Control<QSlider>("HScroll_Alpha")->setValue(10);
  EXPECT_EQ(form->program().alphaDegrees, 10);
  EXPECT_EQ(Control<QLineEdit>("Text_Alpha")->text(), "10");
  EXPECT_TRUE(Plot()->title().contains("at α = 10°")) << Plot()->title().toStdString();
  EXPECT_TRUE(Control<QLabel>("Label_Forces")->text().contains("At α = 10°"));

  auto* box = Control<QLineEdit>("Text_Alpha");
  box->setText("abc");
  emit box->editingFinished();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(form->program().alphaDegrees, 10);
  box->setText("-20");
  emit box->editingFinished();
  EXPECT_EQ(Control<QSlider>("HScroll_Alpha")->value(), -20);

  Click("Command_AddedMasses");
  ASSERT_TRUE(form->program().bodyReport);
  EXPECT_TRUE(Control<QLabel>("Label_Figures")->text().contains("extrapolated"));
  EXPECT_FALSE(Control<QPushButton>("Command_AddedMasses")->isEnabled());
  EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
}  // namespace tarvenol::testing
