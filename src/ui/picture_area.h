#pragma once
// Pic1: shows the image the wire-frame view drew, so the drawing survives being covered,
// and reports a click of the left mouse button. The image is drawn again at the resolution of
// the screen the picture is shown on, so that it is never enlarged pixel by pixel.

#include <QFrame>

namespace tarvenol {

class RasterCanvas;

class PictureArea : public QFrame {
  Q_OBJECT

 public:
  PictureArea(RasterCanvas& canvas, QWidget* parent);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The second press of a double click does not start a click of its own.
  void mouseDoubleClickEvent(QMouseEvent*) override {}

 private:
  RasterCanvas& canvas_;
  bool pressed_ = false;
};

}  // namespace tarvenol
