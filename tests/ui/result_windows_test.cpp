// The result windows at work: a button that starts work is out of use while it runs, each
// window shows its own work's progress and stops it by Cancel or Escape, the focus goes back
// where the user had it, pictures are saved from the windows, and the windows open beside the
// main window and each other.

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QValueAxis>
#include <QXYSeries>
#include <set>

#include "form_fixture.h"
#include "report/solution_sections.h"
#include "ui/drag_window.h"
#include "ui/field_window.h"
#include "ui/window_placement.h"

namespace tarvenol::testing {
namespace {

class WindowsAtWork : public FormTest {
 protected:
  void SetUp() override {
    form = std::make_unique<Form1>(
        [this](const std::string& text) { messages.push_back(text); },
        // The solve by the body's symmetry, offered for a body the full matrices do not fit.
        [](const std::string&) { return true; },
        [this](const QString&, const QString& suggested, const QString&) {
          return chosen.isEmpty()
                     ? QString::fromStdString((dir.path() / suggested.toStdString()).string())
                     : chosen;
        });
    Show();
  }
  QWidget* Incidence() { return Control<QWidget>("Form_Incidence"); }
  template <typename T>
  T* In(QWidget* window, const char* name) {
    T* control = window->findChild<T*>(QString::fromUtf8(name));
    if (control == nullptr) ADD_FAILURE() << "no control " << name;
    return control;
  }
  // A key typed into the window, which the user has made the active one, to the control that
  // has its focus.
  static void Key(QWidget* window, Qt::Key key) {
    QApplication::setActiveWindow(window);
    QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, key);
  }

  QString chosen;
};

TEST_F(WindowsAtWork, TheAddedMassesRunOnceUnderTheirOwnProgressAndStopAtEscape) {
  // Panels enough that the added masses take long enough to be stopped.
  Solve("480");
  Control<QAction>("Mn_Incidence")->trigger();
  QWidget* window = Incidence();
  auto* button = In<QPushButton>(window, "Command_AddedMasses");
  auto* panel = In<QWidget>(window, "Frame_Progress");
  auto* bar = In<QProgressBar>(panel, "Progress_Work");

  // A second click while the work runs starts nothing: the button is out of use.
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(form->Working());
  EXPECT_FALSE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(Shown("Frame_Progress"));  // the main window's panel
  EXPECT_FALSE(Control<QAction>("Mn_Sphere")->isEnabled());
  std::set<int> values;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        values.insert(bar->value());
        return values.size() >= 3 || !form->Working();
      },
      600000));
  // Escape in the window stops it: nothing is taken, and the button is offered again.
  Key(window, Qt::Key_Escape);
  Settle();
  EXPECT_FALSE(form->program().results.bodyReport);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(button->isEnabled());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Its window closed while it runs stops it too.
  QTest::mouseClick(button, Qt::LeftButton);
  window->close();
  Settle();
  EXPECT_FALSE(form->program().results.bodyReport);
  Control<QAction>("Mn_Incidence")->trigger();

  // Asked again, it runs to the end; then the focus is where the user had it, on the slider.
  auto* slider = In<QSlider>(window, "HScroll_Alpha");
  slider->setFocus();
  QTest::mouseClick(button, Qt::LeftButton);
  Settle();
  ASSERT_TRUE(form->program().results.bodyReport);
  EXPECT_EQ(window->focusWidget(), slider);
  EXPECT_FALSE(In<QLineEdit>(window, "Text_Alpha")->hasSelectedText());
  EXPECT_TRUE(messages.empty()) << messages.front();

  // With no work running, Escape closes the window.
  Key(window, Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowsAtWork, TheFlowStoppedByEscapeIsOfferedAgainAndItsPictureSaved) {
  Solve("100");
  Control<QAction>("Mn_Field")->trigger();
  auto* field = Control<FieldWindow>("Form_Field");
  auto* compute = In<QPushButton>(field, "Command_ComputeField");
  ASSERT_TRUE(field->Working());
  EXPECT_FALSE(compute->isEnabled());
  Key(field, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !field->Working(); }, 600000));
  EXPECT_TRUE(field->isVisible());
  EXPECT_TRUE(compute->isEnabled());
  EXPECT_TRUE(In<QWidget>(field, "Picture_Flow")->accessibleName().contains("cancelled"));
  // The solution followed again does not start it unasked; the button does.
  field->Follow();
  EXPECT_FALSE(field->Working());
  QTest::mouseClick(compute, Qt::LeftButton);
  ASSERT_TRUE(field->Working());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !field->Working(); }, 600000));
  EXPECT_FALSE(compute->isEnabled());

  QTest::mouseClick(In<QPushButton>(field, "Command_SavePicture"), Qt::LeftButton);
  EXPECT_EQ(ReadFile(dir.path() / "flow.png").substr(1, 3), "PNG");
  chosen = QString::fromStdString((dir.path() / "flow.svg").string());
  QTest::mouseClick(In<QPushButton>(field, "Command_SavePicture"), Qt::LeftButton);
  EXPECT_EQ(ReadFile(dir.path() / "flow.svg").rfind("<?xml", 0), 0u);
  // Never over the report.
  const std::string report = Report();
  chosen = QString::fromStdString((dir.path() / "Tarvenol.txt").string());
  QTest::mouseClick(In<QPushButton>(field, "Command_SavePicture"), Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("the program's report"), std::string::npos) << messages[0];
  EXPECT_TRUE(Report() == report);
}

// The sphere's moment is 0: its noise shows as 0, its chart lies flat at 0 over -90..90, and the
// angle shown is marked between the curve's points.
TEST_F(WindowsAtWork, TheMomentShowsItsDigitsAndTheChartItsAngleAndIsSaved) {
  Solve("12");
  Control<QAction>("Mn_Incidence")->trigger();
  QWidget* window = Incidence();
  const int width = window->width();
  auto* box = In<QLineEdit>(window, "Text_Alpha");
  box->setText("12.5");
  emit box->editingFinished();
  const QString forces = In<QLabel>(window, "Label_Forces")->text();
  EXPECT_TRUE(forces.contains("moment (0, 0, ")) << forces.toStdString();
  EXPECT_FALSE(forces.contains("e-")) << forces.toStdString();
  QChart* chart = In<QChartView>(window, "Chart_Moment")->chart();
  const auto axes = chart->axes();
  ASSERT_EQ(axes.size(), 2);
  const auto* angles = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).front());
  const auto* moments = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).front());
  EXPECT_EQ(angles->min(), -90);
  EXPECT_EQ(angles->max(), 90);
  EXPECT_LE(moments->min(), -0.1);
  EXPECT_GE(moments->max(), 0.1);
  EXPECT_TRUE(moments->titleText().contains("C<sub>M</sub>"));
  const auto* marked = qobject_cast<QXYSeries*>(chart->series().back());
  ASSERT_EQ(marked->count(), 1);
  EXPECT_EQ(marked->at(0).x(), 12.5);
  std::set<QRgb> colours;
  for (QAbstractSeries* s : chart->series()) {
    colours.insert(qobject_cast<QXYSeries*>(s)->color().rgb());
  }
  EXPECT_EQ(colours.size(), static_cast<std::size_t>(chart->series().size()));

  QTest::mouseClick(In<QPushButton>(window, "Command_AddedMasses"), Qt::LeftButton);
  Settle();
  QTest::mouseClick(In<QPushButton>(window, "Command_SaveChart"), Qt::LeftButton);
  EXPECT_EQ(ReadFile(dir.path() / "moment.png").substr(1, 3), "PNG");
  EXPECT_EQ(window->width(), width);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(WindowsAtWork, EscapeClosesThePressurePlot) {
  Control<QAction>("Mn_Pressure")->trigger();
  QWidget* plot = Control<QWidget>("Form_Pressure");
  ASSERT_TRUE(plot->isVisible());
  Key(plot, Qt::Key_Escape);
  EXPECT_FALSE(plot->isVisible());
}

// Return takes what the question suggests: the solve by the body's symmetry it offers.
TEST_F(FormTest, ReturnTakesTheSymmetricSolveOffered) {
  Show();
  Control<QAction>("Mn_Sphere")->trigger();
  Control<QLineEdit>("Text_NI")->setText("160");
  Control<QLineEdit>("Text_NJ")->setText("160");
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  QString suggested;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    suggested = box->defaultButton()->text();
    QTest::keyClick(box, Qt::Key_Return);
  });
  QTest::mouseClick(Control<QPushButton>("Command_HessPan"), Qt::LeftButton);
  EXPECT_TRUE(suggested.contains("Yes")) << suggested.toStdString();
  Settle();
  EXPECT_TRUE(form->program().state.ShowSolution);
  EXPECT_NE(Report().find(kMatrixNotFormed), std::string::npos);
}

// The drag's window follows the solution and the angle of attack, takes its settings from its
// controls (a bad one said and put back), and saves its table and its chart.
TEST_F(WindowsAtWork, TheDragFollowsTheSolutionTheAngleAndItsSettings) {
  Control<QAction>("Mn_Drag")->trigger();
  auto* drag = Control<DragWindow>("Form_Drag");
  ASSERT_TRUE(drag->isVisible());
  auto* label = In<QLabel>(drag, "Label_Drag");
  const auto settle = [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !drag->Working(); }, 600000));
  };
  EXPECT_TRUE(label->text().contains("apply Hess")) << label->text().toStdString();
  Solve("12");
  EXPECT_TRUE(label->text().contains("at least 20 panels")) << label->text().toStdString();
  Solve("40");
  settle();
  EXPECT_TRUE(label->text().contains("Drag at Re")) << label->text().toStdString();
  EXPECT_EQ(In<QChartView>(drag, "Chart_Drag")->chart()->axes().size(), 4);

  auto* reynolds = In<QLineEdit>(drag, "Text_Reynolds");
  reynolds->setText("-5");
  emit reynolds->editingFinished();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Reynolds number"), std::string::npos) << messages[0];
  EXPECT_EQ(reynolds->text(), "10000000");
  EXPECT_EQ(form->program().drag.reynolds, 1e7);
  messages.clear();
  reynolds->setText("1e5");
  emit reynolds->editingFinished();
  auto* transition = In<QComboBox>(drag, "Combo_Transition");
  transition->setCurrentIndex(2);
  emit transition->activated(2);
  settle();
  EXPECT_EQ(form->program().drag.transition.kind, TransitionKind::Laminar);
  EXPECT_TRUE(label->text().contains("separation: x/L = 0.")) << label->text().toStdString();

  Control<QAction>("Mn_Incidence")->trigger();
  auto* alpha = In<QLineEdit>(Incidence(), "Text_Alpha");
  alpha->setText("10");
  emit alpha->editingFinished();
  EXPECT_TRUE(label->text().contains("the axial stream's")) << label->text().toStdString();
  EXPECT_FALSE(In<QPushButton>(drag, "Command_SaveTable")->isEnabled());
  alpha->setText("0");
  emit alpha->editingFinished();
  settle();
  QTest::mouseClick(In<QPushButton>(drag, "Command_SaveTable"), Qt::LeftButton);
  EXPECT_EQ(ReadFile(dir.path() / "boundary_layer.csv").rfind("x_over_L,s,Ue,", 0), 0u);
  chosen = QString::fromStdString((dir.path() / "layer.svg").string());
  QTest::mouseClick(In<QPushButton>(drag, "Command_SaveDragChart"), Qt::LeftButton);
  EXPECT_EQ(ReadFile(dir.path() / "layer.svg").rfind("<?xml", 0), 0u);
  EXPECT_TRUE(messages.empty()) << messages.front();
  Key(drag, Qt::Key_Escape);
  EXPECT_FALSE(drag->isVisible());
}

// Three windows beside a main window at the top left: on a large screen none covers another;
// on a small one none covers the main window, and each leaves the tops of the others in sight.
TEST(Placement, ResultWindowsGoBesideTheMainWindowAndEachOther) {
  const QRect main(0, 0, 471, 600);
  const QSize sizes[] = {{900, 560}, {760, 760}, {900, 760}};
  const QSize least(500, 400);
  for (const QRect& screen : {QRect(0, 0, 2560, 1440), QRect(0, 0, 1024, 768)}) {
    QList<QRect> placed;
    for (const QSize& size : sizes) placed << PlaceBeside(size, least, main, placed, screen);
    for (int k = 0; k < placed.size(); ++k) {
      EXPECT_TRUE(screen.contains(placed[k]));
      EXPECT_FALSE(placed[k].intersects(main));
      for (int other = 0; other < k; ++other) {
        const QRect top(placed[other].topLeft(), QSize(placed[other].width(), 96));
        EXPECT_FALSE(placed[k].intersects(screen.width() > 2000 ? placed[other] : top))
            << screen.width() << ": window " << k << " over window " << other;
      }
    }
  }
}

}  // namespace
}  // namespace tarvenol::testing
