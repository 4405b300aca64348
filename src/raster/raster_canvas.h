#pragma once
// The drawing surface on an image: antialiased lines on the picture's light-yellow
// background. Needs QtGui only, so it draws without a display; the main window shows the
// image, and the batch tool saves it.

#include <QImage>
#include <string>

#include "core/canvas.h"

namespace tarvenol {

class RasterCanvas : public Canvas {
 public:
  explicit RasterCanvas(int width = 400, int height = 400);

  // A new, cleared image of this size in pixels.
  void Resize(int width, int height);
  const QImage& Image() const { return image_; }
  // The image as a PNG file's bytes; empty when it cannot be encoded.
  std::string PngBytes() const;

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

  QImage image_;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  double currentX_ = 0, currentY_ = 0;
};

}  // namespace tarvenol
