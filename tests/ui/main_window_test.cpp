// Form1 as the user first sees it, its menus, and which controls each operation shows.

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

#include "form_fixture.h"
#include "ui/twips.h"

namespace tarvenol::testing {
namespace {

struct Placement {
  const char* name;
  const char* kind;  // Qt class the control is made of
  const char* container;
  int left, top, width, height;  // twips
  bool shown;
};

// The main window's controls, front to back.
const Placement kControls[] = {
    {"Command_Sphere", "QPushButton", "Form1_Client", 2040, 120, 1815, 615, false},
    {"Command_HessPan", "QPushButton", "Form1_Client", 4080, 120, 2655, 615, false},
    {"Frame_IOWindow", "QGroupBox", "Form1_Client", 1920, 1680, 3615, 2655, false},
    {"Drive1", "QComboBox", "Frame_IOWindow", 120, 240, 1695, 315, true},
    {"Dir1", "QListWidget", "Frame_IOWindow", 120, 600, 1695, 1890, true},
    {"File_Body", "QListWidget", "Frame_IOWindow", 1920, 240, 1575, 2235, true},
    {"Frame5", "QGroupBox", "Form1_Client", 120, 720, 6735, 7455, true},
    {"Pic1", "QFrame", "Frame5", 600, 120, 6000, 6000, true},
    {"Frame6", "QGroupBox", "Frame5", 480, 6120, 6255, 1215, true},
    {"Text_AlfaY", "QLineEdit", "Frame6", 120, 480, 495, 285, true},
    {"HScroll_Y", "QScrollBar", "Frame6", 720, 480, 5415, 285, true},
    {"Text_AlfaZ", "QLineEdit", "Frame6", 120, 840, 495, 285, true},
    {"HScroll_Z", "QScrollBar", "Frame6", 720, 840, 5415, 285, true},
    {"Text_AlfaX", "QLineEdit", "Frame6", 120, 120, 495, 285, true},
    {"HScroll_X", "QScrollBar", "Frame6", 720, 120, 5415, 255, true},
    {"VScroll_Ölçek", "QScrollBar", "Frame5", 120, 720, 375, 5415, true},
    {"Text_Ölçek", "QLineEdit", "Frame5", 120, 480, 375, 285, true},
    {"Label9", "QLabel", "Frame5", 120, 240, 420, 255, true},
    {"Frame_NI_NJ", "QGroupBox", "Form1_Client", 120, 0, 1815, 735, true},
    {"Text_NI", "QLineEdit", "Frame_NI_NJ", 480, 240, 375, 285, true},
    {"Text_NJ", "QLineEdit", "Frame_NI_NJ", 1320, 240, 375, 315, true},
    {"label1", "QLabel", "Frame_NI_NJ", 120, 240, 375, 255, true},
    {"Label2", "QLabel", "Frame_NI_NJ", 960, 240, 375, 255, true},
};

using MainWindow = FormTest;

TEST_F(MainWindow, EveryControlSitsInItsContainerAtItsPlace) {
  const double dpi = form->logicalDpiX();
  for (const Placement& c : kControls) {
    SCOPED_TRACE(c.name);
    QWidget* w = Control<QWidget>(c.name);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->inherits(c.kind));
    EXPECT_EQ(w->parentWidget()->objectName().toStdString(), c.container);
    const QRect expected = TwipsRect(c.left, c.top, c.width, c.height, dpi);
    if (qobject_cast<QLabel*>(w)) {
      // A label may widen to show its whole text in the desktop's font.
      EXPECT_EQ(w->pos(), expected.topLeft());
      EXPECT_EQ(w->height(), expected.height());
      EXPECT_GE(w->width(), expected.width());
    } else {
      EXPECT_EQ(w->geometry(), expected);
    }
    EXPECT_EQ(!w->isHidden(), c.shown);
  }
}

TEST_F(MainWindow, AtDefaultResolutionThePictureIsFourHundredPixelsSquare) {
  if (form->logicalDpiX() != 96) GTEST_SKIP() << "the screen is not at 96 dots per inch";
  EXPECT_EQ(Control<QWidget>("Pic1")->size(), QSize(400, 400));
  EXPECT_EQ(form->centralWidget()->size(), QSize(463, 549));
}

TEST_F(MainWindow, ControlsStartWithTheirContent) {
  EXPECT_EQ(form->windowTitle(), "Form1");
  const std::pair<const char*, const char*> texts[] = {{"Text_NI", "4"},    {"Text_NJ", "4"},
                                                       {"Text_AlfaX", "0"}, {"Text_AlfaY", "0"},
                                                       {"Text_AlfaZ", "0"}, {"Text_Ölçek", "1"}};
  for (const auto& [name, text] : texts) {
    QLineEdit* box = Control<QLineEdit>(name);
    EXPECT_EQ(box->text(), text) << name;
    EXPECT_FALSE(box->isReadOnly()) << name;
  }
  EXPECT_EQ(Control<QPushButton>("Command_Sphere")->text(), "Calculate sphere coordinates");
  EXPECT_EQ(Control<QPushButton>("Command_HessPan")->text(), "Apply Hess panel method");
  EXPECT_EQ(Control<QLabel>("label1")->text(), "NI =");
  EXPECT_EQ(Control<QLabel>("Label2")->text(), "NJ =");
  EXPECT_EQ(Control<QLabel>("Label9")->text(), "Scale");

  for (const char* name : {"HScroll_X", "HScroll_Y", "HScroll_Z"}) {
    SCOPED_TRACE(name);
    QScrollBar* bar = Control<QScrollBar>(name);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 180);
    EXPECT_EQ(bar->value(), 90);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->pageStep(), 10);
  }
  QScrollBar* scale = Control<QScrollBar>("VScroll_Ölçek");
  EXPECT_EQ(scale->orientation(), Qt::Vertical);
  EXPECT_EQ(scale->minimum(), 1);
  EXPECT_EQ(scale->maximum(), 8);
  EXPECT_EQ(scale->value(), 1);
  EXPECT_EQ(scale->singleStep(), 1);
  EXPECT_EQ(scale->pageStep(), 1);
  // Minimum at the top.
  EXPECT_FALSE(scale->invertedAppearance());
}

TEST_F(MainWindow, PictureStartsEmptyAndFileChooserFollowsTheWorkingDirectory) {
  Show();
  EXPECT_EQ(CountPicture(Control<QWidget>("Pic1")).drawn, 0);
  EXPECT_EQ(form->program().state.OutFile, "Tarvenol.txt");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Tarvenol.txt"));
  EXPECT_EQ(Report(), "");
}

TEST_F(MainWindow, MenusCarryTheirCaptions) {
  const QList<QAction*> top = form->menuBar()->actions();
  ASSERT_EQ(top.size(), 3);
  EXPECT_EQ(top[0]->text(), "Geometry");
  EXPECT_EQ(top[0]->menu(), Control<QMenu>("Mn_Geometry"));
  EXPECT_EQ(top[1]->text(), "About");
  EXPECT_EQ(top[1], Control<QAction>("Mn_About"));
  EXPECT_EQ(top[1]->menu(), nullptr);

  const QList<QAction*> items = Control<QMenu>("Mn_Geometry")->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0], Control<QAction>("Mn_Sphere"));
  EXPECT_EQ(items[0]->text(), "Test case for sphere");
  EXPECT_EQ(items[1], Control<QAction>("Mn_ReadData"));
  EXPECT_EQ(items[1]->text(), "Read data from a file");
  EXPECT_EQ(items[2], Control<QAction>("Mn_Resample"));
  EXPECT_EQ(items[2]->text(), "Resample the profile");

  // The results follow the program's own menus.
  EXPECT_EQ(top[2]->text(), "Results");
  EXPECT_EQ(top[2]->menu(), Control<QMenu>("Mn_Results"));
  QStringList results;
  for (const QAction* item : top[2]->menu()->actions()) results << item->text();
  EXPECT_EQ(results,
            (QStringList{"Pressure along the body", "Body at incidence", "Flow around the body",
                         "Drag", "Export the panels as VTK...", "Export the panels as CSV..."}));
}

TEST_F(MainWindow, CountsOfUpToSevenDigitsShowWholeInTheirBoxes) {
  Show();
  Control<QWidget>("Pic1")->setFocus();  // no blinking cursor in the boxes' pictures
  const double dpi = form->logicalDpiX();
  for (const char* name : {"Text_NI", "Text_NJ"}) {
    SCOPED_TRACE(name);
    auto* box = Control<QLineEdit>(name);
    const QRect place = box->geometry();
    const int height = QFontMetrics(box->font()).height();
    for (const char* count : {"200", "12345", "1000000"}) {
      // Shown whole, the text does not scroll when the cursor goes from its end to its start.
      box->setText(count);
      const QImage atEnd = box->grab().toImage();
      box->setCursorPosition(0);
      EXPECT_EQ(box->grab().toImage(), atEnd) << count;
    }
    // Narrowed, never lowered, and the box where it was.
    EXPECT_EQ(QFontMetrics(box->font()).height(), height);
    EXPECT_EQ(box->geometry(), place);
    box->setText("4");
    EXPECT_EQ(box->font().stretch(), 100);
    EXPECT_GE(QFontMetrics(box->font()).height(), TwipsToPixels(135, dpi));
  }
  // Each box lies in front of its label, whose "=" it touches.
  const QObjectList stack = Control<QWidget>("Frame_NI_NJ")->children();
  EXPECT_GT(stack.indexOf(Control<QWidget>("Text_NI")), stack.indexOf(Control<QWidget>("label1")));
  EXPECT_GT(stack.indexOf(Control<QWidget>("Text_NJ")), stack.indexOf(Control<QWidget>("Label2")));
}

TEST_F(MainWindow, TheWindowsCarryTheProgramsIcon) {
  const QIcon icon = form->windowIcon();
  ASSERT_FALSE(icon.isNull());
  const QImage image = icon.pixmap(QSize(32, 32)).toImage();
  EXPECT_EQ(image.pixelColor(16, 4), QColor(0x17, 0x37, 0x5e));  // the icon's dark blue ground
  Control<QAction>("Mn_About")->trigger();
  EXPECT_EQ(form->findChild<QWidget*>("Form_About")->windowIcon().cacheKey(), icon.cacheKey());
}

TEST_F(MainWindow, TabKeyVisitsTheControlsInTheirOrder) {
  const QStringList order = {
      "Text_NJ",   "Text_NI",    "Text_Ölçek",      "VScroll_Ölçek", "HScroll_X", "Text_AlfaX",
      "HScroll_Z", "Text_AlfaZ", "HScroll_Y",       "Text_AlfaY",    "Pic1",      "File_Body",
      "Dir1",      "Drive1",     "Command_HessPan", "Command_Sphere"};
  QStringList visited;
  QWidget* w = Control<QWidget>("Text_NJ");
  do {
    if (order.contains(w->objectName()) && (w->focusPolicy() & Qt::TabFocus)) {
      visited << w->objectName();
    }
    w = w->nextInFocusChain();
  } while (w->objectName() != "Text_NJ");
  EXPECT_EQ(visited, order);
}

TEST_F(MainWindow, TheWindowKeepsItsSize) {
  Show();
  const QSize size = form->size();
  form->resize(size * 2);
  QApplication::processEvents();
  EXPECT_EQ(form->size(), size);
  EXPECT_EQ(Control<QWidget>("Pic1")->geometry(),
            TwipsRect(600, 120, 6000, 6000, form->logicalDpiX()));
}

TEST_F(MainWindow, OperationsShowAndHideTheCommandControls) {
  Show();
  const ModelState& s = form->program().state;
  auto expectShown = [this, &s](bool sphere, bool apply, bool chooser, bool ready) {
    EXPECT_EQ(Shown("Command_Sphere"), sphere);
    EXPECT_EQ(Shown("Command_HessPan"), apply);
    EXPECT_EQ(Shown("Frame_IOWindow"), chooser);
    EXPECT_EQ(s.GeometryReady, ready);
  };
  expectShown(false, false, false, false);

  Control<QAction>("Mn_Sphere")->trigger();
  expectShown(true, false, false, false);
  Control<QAction>("Mn_ReadData")->trigger();
  expectShown(true, false, true, false);
  Control<QAction>("Mn_About")->trigger();
  expectShown(true, false, true, false);

  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  expectShown(false, true, true, true);
  EXPECT_EQ(s.NI, 4);
  EXPECT_EQ(s.NJ, 4);
  EXPECT_NE(Report().find(" Profile of the body of revolution"), std::string::npos);
  EXPECT_GT(CountPicture(Control<QWidget>("Pic1")).red, 0);

  // The view's controls redraw and change nothing the session manages.
  Control<QScrollBar>("HScroll_X")->setValue(0);
  EXPECT_EQ(Control<QLineEdit>("Text_AlfaX")->text(), "-90");
  Control<QScrollBar>("VScroll_Ölçek")->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(Control<QLineEdit>("Text_Ölçek")->text(), "2");
  QTest::mouseClick(Control<QWidget>("Pic1"), Qt::LeftButton);
  EXPECT_EQ(Control<QLineEdit>("Text_AlfaX")->text(), "0");
  EXPECT_EQ(Control<QScrollBar>("HScroll_X")->value(), 0);
  expectShown(false, true, true, true);
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, ApplyWithoutGeometryOnlyShowsTheGuardMessage) {
  Show();
  const std::string report = Report();
  Control<QPushButton>("Command_HessPan")->click();
  EXPECT_EQ(messages, std::vector<std::string>{"Geometriyi hazırla"});
  EXPECT_FALSE(form->program().state.GeometryReady);
  EXPECT_FALSE(Shown("Command_HessPan"));
  EXPECT_EQ(Report(), report);
  EXPECT_EQ(CountPicture(Control<QWidget>("Pic1")).drawn, 0);
}

TEST_F(MainWindow, FailedGeometryShowsItsMessageAndLeavesTheWindowAsItWas) {
  // A refusal comes before any work begins: no busy cursor.
  bool busy = false;
  duringMessage = [&busy] {
    busy =
        QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  };
  Show();
  Control<QAction>("Mn_Sphere")->trigger();
  Control<QLineEdit>("Text_NI")->setText("0");
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("NI"), std::string::npos);
  EXPECT_FALSE(busy);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(Shown("Command_Sphere"));
  EXPECT_FALSE(Shown("Command_HessPan"));
  EXPECT_FALSE(form->program().state.GeometryReady);
  EXPECT_EQ(Control<QLineEdit>("Text_NI")->text(), "0");
  EXPECT_EQ(CountPicture(Control<QWidget>("Pic1")).drawn, 0);
}

}  // namespace
}  // namespace tarvenol::testing
