// Long work in the window: it runs while the window goes on answering, shows how far it has come,
// can be stopped, and is asked about first when it would fill the disk.

#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <cstdlib>
#include <set>

#include "core/memory.h"
#include "form_fixture.h"
#include "solver/hess_solve.h"
#include "test_paths.h"

namespace tarvenol::testing {
namespace {

class LongWork : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Show();
  }

  void PrepareSphere(const char* ni, const char* nj) {
    Control<QAction>("Mn_Sphere")->trigger();
    Control<QLineEdit>("Text_NI")->setText(ni);
    Control<QLineEdit>("Text_NJ")->setText(nj);
    QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
    Settle();
    ASSERT_TRUE(messages.empty()) << messages.front();
  }

  QImage Picture() { return Control<QWidget>("Pic1")->grab().toImage(); }
};

TEST_F(LongWork, ProgressAdvancesAndACancelLeavesEverythingAsItWas) {
  PrepareSphere("64", "64");
  const std::string report = Report();
  const QImage picture = Picture();
  auto* label = Control<QLabel>("Label_Work");
  auto* bar = Control<QProgressBar>("Progress_Work");

  QTest::mouseClick(Control<QPushButton>("Command_HessPan"), Qt::LeftButton);
  ASSERT_TRUE(form->Working());
  EXPECT_TRUE(Shown("Frame_Progress"));
  // What would start other work is out of use; the view and About are not.
  EXPECT_FALSE(Control<QPushButton>("Command_HessPan")->isEnabled());
  EXPECT_FALSE(Control<QAction>("Mn_Sphere")->isEnabled());
  Control<QScrollBar>("HScroll_X")->setValue(60);
  EXPECT_EQ(Control<QLineEdit>("Text_AlfaX")->text(), "-30");
  EXPECT_NE(Picture(), picture);
  Control<QScrollBar>("HScroll_X")->setValue(90);
  Control<QAction>("Mn_About")->trigger();
  EXPECT_TRUE(form->findChild<QWidget*>("Form_About")->isVisible());

  // The panel tells the stage and a fraction that grows; the cancel comes while the matrices
  // are being written, so that there is something to cut back.
  std::set<int> coefficients;
  bool writing = false;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (label->text().startsWith("Influence coefficients")) coefficients.insert(bar->value());
        writing = label->text().startsWith("Matrix report") && bar->value() > 0;
        return writing || !form->Working();
      },
      600000));
  ASSERT_TRUE(writing) << label->text().toStdString();
  EXPECT_GE(coefficients.size(), 2u);
  QTest::mouseClick(Control<QPushButton>("Command_Cancel"), Qt::LeftButton);
  Settle();

  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_FALSE(Shown("Frame_Progress"));
  EXPECT_TRUE(Report() == report);
  EXPECT_EQ(Picture(), picture);
  const ModelState& s = form->program().state;
  EXPECT_FALSE(s.ShowSolution);
  EXPECT_TRUE(s.OneMinusCp.Empty());
  EXPECT_TRUE(Shown("Command_HessPan"));
  EXPECT_TRUE(Control<QPushButton>("Command_HessPan")->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LongWork, TheFocusStaysOutOfTheCountsThroughWorkAndItsCancel) {
  PrepareSphere("48", "48");
  const std::string report = Report();
  auto* apply = Control<QPushButton>("Command_HessPan");
  auto* cancel = Control<QPushButton>("Command_Cancel");
  // Calculate, Apply, Cancel, Apply: the second time Cancel starts out of use.
  QTest::mouseClick(apply, Qt::LeftButton);
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_EQ(qobject_cast<QLineEdit*>(form->focusWidget()), nullptr);
  Settle();
  EXPECT_EQ(form->focusWidget(), apply);
  QTest::mouseClick(apply, Qt::LeftButton);
  ASSERT_TRUE(form->Working());
  EXPECT_EQ(form->focusWidget(), cancel);
  // A key typed while the work runs replaces no count.
  QTest::keyClick(form->focusWidget(), Qt::Key_7);
  EXPECT_EQ(Control<QLineEdit>("Text_NJ")->text(), "48");
  EXPECT_EQ(Control<QLineEdit>("Text_NI")->text(), "48");
  // Escape stops it as Cancel does.
  QTest::keyClick(form->focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(cancel->isEnabled());
  EXPECT_EQ(qobject_cast<QLineEdit*>(form->focusWidget()), nullptr);
  Settle();
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_TRUE(Report() == report);
  EXPECT_FALSE(form->program().state.ShowSolution);
  EXPECT_EQ(form->focusWidget(), apply);
}

TEST_F(LongWork, AFinishedSolveWritesTheSameBytesAsTheBatchTool) {
  Control<QWidget>("Command_Sphere")->setFocus();
  PrepareSphere("12", "16");
  // The focus goes on with the user, to the next button, not into a text box.
  EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>("Command_HessPan"));
  QTest::mouseClick(Control<QPushButton>("Command_HessPan"), Qt::LeftButton);
  Settle();
  ASSERT_TRUE(messages.empty()) << messages.front();
  EXPECT_TRUE(form->program().state.ShowSolution);

  TempWorkDir batch;
  const std::string command = BatchTool() + " ni 12 nj 16 sphere solve";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_TRUE(ReadFile(batch.path() / "Tarvenol.txt") == ReadFile(dir.path() / "Tarvenol.txt"));
}

TEST_F(LongWork, ASolveThatWouldFillTheDiskIsAskedAboutFirst) {
  if (AvailableMemoryBytes() < MatrixBytes(10000, 3)) {
    GTEST_SKIP() << "10000 panels do not fit here: they are refused without a question";
  }
  std::vector<std::string> questions;
  QWidget* focusBehind = nullptr;
  form.reset();  // its report is taken: the new window takes it over
  form = std::make_unique<Form1>([this](const std::string& text) { messages.push_back(text); },
                                 [&](const std::string& question) {
                                   questions.push_back(question);
                                   focusBehind = form->focusWidget();
                                   return false;
                                 });
  Show();
  PrepareSphere("100", "100");
  const std::string report = Report();
  QTest::mouseClick(Control<QPushButton>("Command_HessPan"), Qt::LeftButton);
  EXPECT_FALSE(form->Working());
  // The solve by the body's symmetry is offered first; declined, the full solve is asked about.
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_NE(questions[0].find("Solve it by the body's symmetry instead?"), std::string::npos)
      << questions[0];
  EXPECT_NE(questions[1].find("10000 panels: the three matrices take 2.2 GiB of memory, and the "
                              "report grows by about 1.5 GiB."),
            std::string::npos)
      << questions[1];
  EXPECT_TRUE(Report() == report);
  EXPECT_FALSE(form->program().state.ShowSolution);
  // Behind the question, the button asked about keeps the focus.
  EXPECT_EQ(focusBehind, Control<QWidget>("Command_HessPan"));
}

}  // namespace
}  // namespace tarvenol::testing
