#include "form_fixture.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "core/canvas.h"

namespace tarvenol::testing {

void FormTest::Solve(const char* count) {
  Control<QAction>("Mn_Sphere")->trigger();
  Control<QLineEdit>("Text_NI")->setText(count);
  Control<QLineEdit>("Text_NJ")->setText(count);
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  QTest::mouseClick(Control<QPushButton>("Command_HessPan"), Qt::LeftButton);
  Settle();
  ASSERT_TRUE(form->program().state.ShowSolution);
}

PictureCount CountPicture(QWidget* picture) {
  const QImage image = picture->grab().toImage();
  const auto* frame = qobject_cast<QFrame*>(picture);
  const QRect area = frame ? frame->contentsRect() : picture->rect();
  const QColor background(kPictureBackground.red, kPictureBackground.green,
                          kPictureBackground.blue);
  PictureCount count;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.rgb() == background.rgb()) continue;
      ++count.drawn;
      if (c.red() > c.green() + 60 && c.red() > c.blue() + 60) ++count.red;
      if (c.blue() > c.red() + 40 && c.blue() > c.green() + 40) ++count.blue;
    }
  }
  return count;
}

}  // namespace tarvenol::testing
