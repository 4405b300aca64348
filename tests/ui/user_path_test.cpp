// What a user does from start to solution, and the message box the user has to close.

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "form_fixture.h"

namespace tarvenol::testing {
namespace {

using UserPath = FormTest;

TEST_F(UserPath, SphereFromMenuToSolutionFillsTheReportAndTheDrawing) {
  Show();
  Control<QAction>("Mn_Sphere")->trigger();
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  const PictureCount panels = CountPicture(Control<QWidget>("Pic1"));
  QTest::mouseClick(Control<QPushButton>("Command_HessPan"), Qt::LeftButton);
  Settle();

  EXPECT_TRUE(messages.empty()) << messages.front();
  const std::string report = Report();
  for (const char* title : {" Profile of the body of revolution", " Cosine directors of panel axes",
                            "Hess method - Normal velocities", "Source strengths", "1-Cp"}) {
    EXPECT_NE(report.find(title), std::string::npos) << title;
  }
  EXPECT_LT(report.find("Source strengths"), report.rfind("1-Cp"));
  EXPECT_FALSE(Shown("Command_HessPan"));
  EXPECT_TRUE(form->program().state.ShowSolution);

  // The 1-Cp mesh joins the panels: more drawn, and blue among it.
  const PictureCount solved = CountPicture(Control<QWidget>("Pic1"));
  EXPECT_GT(solved.drawn, panels.drawn);
  EXPECT_GT(solved.blue, panels.blue);
  EXPECT_GT(solved.red, 0);
}

// A message box is closed by the user; here a timer plays the user.
TEST(MessageBox, HasOneOkButtonAndTheProgramsTitle) {
  TempWorkDir dir;
  Form1 form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  QString title, text;
  int buttons = 0;
  bool arrow = false;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    buttons = static_cast<int>(box->buttons().size());
    arrow = !QApplication::overrideCursor() ||
            QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  user.start(10);
  form.findChild<QPushButton*>("Command_HessPan")->click();
  user.stop();

  EXPECT_EQ(title, "Tarvenol");
  EXPECT_EQ(text, "Geometriyi hazırla");
  EXPECT_EQ(buttons, 1);
  // The box waits for the user under an ordinary cursor.
  EXPECT_TRUE(arrow);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tarvenol::testing
