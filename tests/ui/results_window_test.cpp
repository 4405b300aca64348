// The results menu: the pressure plot follows the solution shown, and the exports ask where.

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QValueAxis>
#include <cmath>

#include "form_fixture.h"
#include "plot/pressure_chart.h"

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
  // Beside the main window, on its screen, narrowed to the room there.
  const QRect plot = Control<QWidget>("Form_Pressure")->frameGeometry();
  EXPECT_FALSE(plot.intersects(form->frameGeometry()));
  EXPECT_TRUE(form->screen()->availableGeometry().contains(plot));
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

// Whether the axis ticks at round numbers: steps of 1, 2, 2.5 or 5 times a power of ten, from a
// multiple of the step.
bool TicksAtRoundNumbers(const QValueAxis* axis) {
  const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
  const double power = std::pow(10.0, std::floor(std::log10(step)));
  const double mantissa = step / power;
  const bool round = std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                     std::fabs(mantissa - 2.5) < 1e-9 || std::fabs(mantissa - 5) < 1e-9;
  const double first = axis->min() / step;
  return round && std::fabs(first - std::round(first)) < 1e-9;
}

TEST(PressurePlot, TheAxesTickAtRoundNumbers) {
  // A body 1.61 long, whose own length would put ticks at 0.40, 0.81 and 1.21.
  PressureAlongBody pressure;
  pressure.body = "ovoid.body";
  pressure.NI = 3;
  pressure.NJ = 1;
  for (const double x : {0.0, 0.3, 1.61}) {
    PanelResult r;
    r.j = 1;
    r.xC = x;
    r.oneMinusCp = 1.3 * x;
    r.Cp = 1 - r.oneMinusCp;
    pressure.panels.push_back(r);
  }
  const std::unique_ptr<QChart> chart(MakePressureChart(pressure));
  for (QAbstractAxis* axis : chart->axes()) {
    const auto* values = qobject_cast<QValueAxis*>(axis);
    ASSERT_NE(values, nullptr);
    EXPECT_TRUE(TicksAtRoundNumbers(values))
        << axis->titleText().toStdString() << ": " << values->min() << " to " << values->max()
        << " in " << values->tickCount() << " ticks";
  }
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
  ASSERT_TRUE(form->program().results.bodyReport);
  EXPECT_TRUE(Control<QLabel>("Label_Figures")->text().contains("extrapolated"));
  EXPECT_FALSE(Control<QPushButton>("Command_AddedMasses")->isEnabled());
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
