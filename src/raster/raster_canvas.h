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

  // A new, cleared picture of width x height pixels. On a screen whose device pixels are
  // smaller (a device pixel ratio, scale, of 2 say), the image has scale x scale of them to
  // each of those pixels, so that the picture is drawn at the screen's own resolution.
  void Resize(int width, int height, double scale = 1);
  // The picture shown now, drawn again at another device pixel ratio.
  void SetScale(double scale);
  double Scale() const { return image_.devicePixelRatio(); }
  // The image, whose device pixel ratio tells a painter the size it is shown at.
  const QImage& Image() const;
  // The image as a PNG file's bytes; empty when it cannot be encoded.
  std::string PngBytes() const;

  void Clear() override;
  void SetCoordinates(double left, double top, double right, double bottom) override;
  void PlotPoint(double x, double y) override;
  void LineTo(double x, double y, Colour colour) override;
  void Line(double x1, double y1, double x2, double y2, Colour colour) override;
  // A canvas of this one's size and scale, painted on any thread; shown here, where the size
  // is still the same, by taking its image.
  std::unique_ptr<Canvas> Aside() const override;
  void ShowAside(Canvas& aside) override;

 private:
  // Whether (x, y) can be placed on the image by the current coordinate system.
  bool Drawable(double x, double y) const;
  void DrawLine(double x1, double y1, double x2, double y2, Colour colour);
  // Where x and y lie on the picture, in its pixels.
  double PixelX(double x) const;
  double PixelY(double y) const;
  // One painter draws every line until the image is read or replaced: opening one a line took
  // more than half the time of a large solve's pictures.
  QPainter& Painter();
  void EndPainting() const;

  QImage image_;
  mutable std::unique_ptr<QPainter> painter_;
  Drawing shown_;  // what was drawn since the last Clear, to draw it again at another scale
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  double currentX_ = 0, currentY_ = 0;
};

}  // namespace tarvenol
