#include "ui/picture_area.h"

#include <QMouseEvent>
#include <QPainter>

#include "raster/raster_canvas.h"

namespace tarvenol {

PictureArea::PictureArea(RasterCanvas& canvas, QWidget* parent) : QFrame(parent), canvas_(canvas) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFocusPolicy(Qt::TabFocus);
}

void PictureArea::paintEvent(QPaintEvent* event) {
  // The picture follows the resolution of the screen the window is on.
  if (const double scale = devicePixelRatioF(); canvas_.Scale() != scale) canvas_.SetScale(scale);
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect();
  const Colour b = kPictureBackground;
  painter.fillRect(area, QColor(b.red, b.green, b.blue));
  painter.setClipRect(area);
  painter.drawImage(area.topLeft(), canvas_.Image());
}

void PictureArea::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void PictureArea::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

}  // namespace tarvenol
