// The About window: its lines, and that it never blocks the main window.

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

#include "form_fixture.h"
#include "ui/twips.h"

namespace tarvenol::testing {
namespace {

struct Line {
  const char* name;
  const char* text;
  int left, top, width, height;  // twips
  double points;
  QColor colour;  // invalid: the desktop's text colour
};

const QColor kDarkGreen(0, 128, 0);
const Line kLines[] = {
    {"Label2", "This program calculates", 600, 120, 2415, 255, 9.75, kDarkGreen},
    {"Label9", "the potential flow around", 480, 480, 2535, 255, 9.75, kDarkGreen},
    {"Label3", "a body of revolution", 720, 840, 2055, 375, 9.75, kDarkGreen},
    {"Label6", "by using", 1320, 1200, 975, 255, 9.75, kDarkGreen},
    {"Label1", "Hess's source panel method", 360, 1560, 2895, 375, 9.75, kDarkGreen},
    {"Label7", "Tarvenol developers", 600, 2040, 2535, 255, 8.25, {}},
    {"Label8", "Last modified : 15 Feb 2015", 600, 2400, 2535, 255, 8.25, {}},
    {"Label4", "For comments and questions e-mail to", 120, 3000, 3375, 255, 8.25, {}},
    {"Label5", "tarvenol@example.org", 840, 3240, 1935, 255, 8.25, QColor(0, 0, 255)},
};

QList<QWidget*> AboutWindowsShown() {
  QList<QWidget*> shown;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "Form_About" && w->isVisible()) shown << w;
  }
  return shown;
}

using AboutWindow = FormTest;

TEST_F(AboutWindow, ChosenTwiceShowsOneWindowAndTheMainWindowStaysUsable) {
  Show();
  EXPECT_TRUE(AboutWindowsShown().empty());
  Control<QAction>("Mn_About")->trigger();
  Control<QAction>("Mn_About")->trigger();
  ASSERT_EQ(AboutWindowsShown().size(), 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(AboutWindowsShown()[0]->isModal());
  // Beside the main window, on its screen: not over its menu bar.
  const QRect about = AboutWindowsShown()[0]->frameGeometry();
  EXPECT_FALSE(about.intersects(form->frameGeometry()));
  EXPECT_TRUE(form->screen()->availableGeometry().contains(about));

  Control<QAction>("Mn_Sphere")->trigger();
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  EXPECT_TRUE(form->program().state.GeometryReady);

  // Closed, it comes back with the next choice, as it was.
  AboutWindowsShown()[0]->close();
  EXPECT_TRUE(AboutWindowsShown().empty());
  Control<QAction>("Mn_About")->trigger();
  ASSERT_EQ(AboutWindowsShown().size(), 1);
  EXPECT_EQ(AboutWindowsShown()[0]->findChildren<QLabel*>().size(), 9);
}

TEST_F(AboutWindow, ShowsItsNineLines) {
  Control<QAction>("Mn_About")->trigger();
  ASSERT_EQ(AboutWindowsShown().size(), 1);
  QWidget* about = AboutWindowsShown()[0];
  const double dpi = about->logicalDpiX();
  EXPECT_EQ(about->windowTitle(), "About");
  EXPECT_EQ(about->size(), QSize(TwipsToPixels(3600, dpi), TwipsToPixels(3585, dpi)));
  EXPECT_EQ(about->palette().color(QPalette::Window), QColor(255, 255, 192));
  EXPECT_TRUE(about->autoFillBackground());

  const QColor defaultText = QApplication::palette().color(QPalette::WindowText);
  for (const Line& line : kLines) {
    SCOPED_TRACE(line.name);
    auto* label = about->findChild<QLabel*>(line.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), line.text);
    const QRect expected = TwipsRect(line.left, line.top, line.width, line.height, dpi);
    EXPECT_EQ(label->pos(), expected.topLeft());
    EXPECT_EQ(label->height(), expected.height());
    EXPECT_GE(label->width(), expected.width());
    EXPECT_EQ(label->font().pointSizeF(), line.points);
    EXPECT_EQ(label->font().weight(), QFont::Normal);
    EXPECT_EQ(label->font().families().value(0), "Verdana");
    const QString used = QFontInfo(label->font()).family();
    if (!QFontDatabase::hasFamily("Verdana") && QFontDatabase::hasFamily("DejaVu Sans")) {
      EXPECT_EQ(used, "DejaVu Sans");
    }
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              line.colour.isValid() ? line.colour : defaultText);
  }
}

}  // namespace
}  // namespace tarvenol::testing
