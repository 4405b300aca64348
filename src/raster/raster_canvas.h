#pragma once
// The drawing surface on an image: antialiased lines on the picture's light-yellow
// background. Needs QtGui only, so it draws without a display; the main window shows the
// image, and the batch tool saves it.

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "core/canvas.h"

namespace tarvenol {

class RasterCanvas : public Canvas {
 public:
  explicit RasterCanvas(int width = 400, int height = 400);

  // A new, cleared image of this size in pixels.
  void Resize(int width, int height);
  const QImage& Image() const;
  // Writes the image as PNG: beside path first, then in its place, so that no half-written
  // picture is ever left under its name. Empty, or why it cannot be written.
  std::string SavePng(const std::string& path) const;

  void Clear() override;
  void SetCoordinates(double left, double top, double right, double bottom) override;
  void PlotPoint(double x, double y) override;
  void LineTo(double x, double y, Colour colour) override;
  void Line(double x1, double y1, double x2, double y2, Colour colour) override;

 private:
  // Whether (x, y) can be placed on the image by the current coordinate system.
  bool Drawable(double x, double y) const;
  double PixelX(double x) const;
  double PixelY(double y) const;
  // The painter stays open from one line to the next: opening one for each line took most of
  // the time of a picture of many panels. It is closed before anything else reads or changes
  // the image.
  QPainter& Painter();
  void EndPainting() const;

  QImage image_;
  mutable std::unique_ptr<QPainter> painter_;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  double currentX_ = 0, currentY_ = 0;
};

}  // namespace tarvenol
