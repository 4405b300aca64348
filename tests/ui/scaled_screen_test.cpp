// The window on a screen whose device pixels are half the size of the desktop's pixels, as
// QT_SCALE_FACTOR=2 gives: this test program starts its application so.

#include <QAction>
#include <QFrame>
#include <QPushButton>

#include "form_fixture.h"

namespace tarvenol::testing {
namespace {

using ScaledScreen = FormTest;

TEST_F(ScaledScreen, ThePictureIsDrawnAtTheScreensResolution) {
  Show();
  QWidget* Pic1 = Control<QWidget>("Pic1");
  ASSERT_EQ(Pic1->devicePixelRatioF(), 2);
  Control<QAction>("Mn_Sphere")->trigger();
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  ASSERT_TRUE(messages.empty()) << messages.front();

  // The picture as the screen shows it, two device pixels to each of the layout's. Enlarged
  // pixel by pixel, every 2 x 2 block of it from an even row and column would be of one colour.
  const QImage shown = Pic1->grab().toImage();
  ASSERT_EQ(shown.devicePixelRatio(), 2);
  const auto* frame = qobject_cast<QFrame*>(Pic1);
  const QRect area(frame->contentsRect().topLeft() * 2, frame->contentsRect().size() * 2);
  int finer = 0;
  for (int y = area.top(); y + 1 <= area.bottom(); y += 2) {
    for (int x = area.left(); x + 1 <= area.right(); x += 2) {
      const QRgb c = shown.pixel(x, y);
      finer += shown.pixel(x + 1, y) != c || shown.pixel(x, y + 1) != c ||
               shown.pixel(x + 1, y + 1) != c;
    }
  }
  EXPECT_GT(finer, 100);
}

}  // namespace
}  // namespace tarvenol::testing
