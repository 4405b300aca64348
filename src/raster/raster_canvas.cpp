#include "raster/raster_canvas.h"

#include <QBuffer>
#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace tarvenol {
namespace {

QColor ToQColor(Colour c) {
  return QColor(c.red, c.green, c.blue);
}

// Cuts the segment (x1, y1)-(x2, y2) to the box (Liang-Barsky); false when none of it lies
// inside. The endpoints must be finite.
bool ClipSegment(double xLow, double xHigh, double yLow, double yHigh, double& x1, double& y1,
                 double& x2, double& y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
  double t0 = 0, t1 = 1;
  // Keeps the part of the segment where p·t <= q.
  const auto keep = [&](double p, double q) {
    if (p == 0) return q >= 0;  // parallel to this edge: wholly inside or wholly outside
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!(keep(-dx, x1 - xLow) && keep(dx, xHigh - x1) && keep(-dy, y1 - yLow) &&
        keep(dy, yHigh - y1))) {
    return false;
  }
  x2 = x1 + t1 * dx;
  y2 = y1 + t1 * dy;
  x1 = x1 + t0 * dx;
  y1 = y1 + t0 * dy;
  return true;
}

}  // namespace

RasterCanvas::RasterCanvas(int width, int height) {
  Resize(width, height);
  SetCoordinates(0, 0, image_.width(), image_.height());
}

const QImage& RasterCanvas::Image() const {
  EndPainting();
  return image_;
}

void RasterCanvas::Resize(int width, int height, double scale) {
  EndPainting();
  const auto device = [scale](int pixels) {
    return std::max(1, static_cast<int>(std::lround(pixels * scale)));
  };
  image_ = QImage(device(width), device(height), QImage::Format_RGB32);
  image_.setDevicePixelRatio(scale);
  Clear();
}

void RasterCanvas::SetScale(double scale) {
  const QSizeF size = image_.deviceIndependentSize();
  const Drawing picture = std::move(shown_);
  Resize(static_cast<int>(std::lround(size.width())), static_cast<int>(std::lround(size.height())),
         scale);
  picture.PaintOn(*this);
}

std::string RasterCanvas::PngBytes() const {
  EndPainting();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image_.save(&buffer, "PNG")) return {};
  return bytes.toStdString();
}

void RasterCanvas::Clear() {
  EndPainting();
  image_.fill(ToQColor(kPictureBackground));
  shown_.ops.clear();
  shown_.Clear();
}

void RasterCanvas::SetCoordinates(double left, double top, double right, double bottom) {
  shown_.SetCoordinates(left, top, right, bottom);
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
}

void RasterCanvas::PlotPoint(double x, double y) {
  shown_.PlotPoint(x, y);
  currentX_ = x;
  currentY_ = y;
  if (!Drawable(x, y)) return;
  const double px = std::floor(PixelX(x)), py = std::floor(PixelY(y));
  const QSizeF size = image_.deviceIndependentSize();
  if (px >= 0 && px < size.width() && py >= 0 && py < size.height()) {
    // One pixel of the picture, however many pixels of the image it covers.
    Painter().fillRect(QRectF(px, py, 1, 1), Qt::black);
  }
}

void RasterCanvas::LineTo(double x, double y, Colour colour) {
  shown_.LineTo(x, y, colour);
  DrawLine(currentX_, currentY_, x, y, colour);
  currentX_ = x;
  currentY_ = y;
}

void RasterCanvas::Line(double x1, double y1, double x2, double y2, Colour colour) {
  shown_.Line(x1, y1, x2, y2, colour);
  DrawLine(x1, y1, x2, y2, colour);
}

void RasterCanvas::DrawLine(double x1, double y1, double x2, double y2, Colour colour) {
  if (!Drawable(x1, y1) || !Drawable(x2, y2)) return;
  // Clipped in user coordinates to a little more than the visible area, so that no
  // coordinate handed to the painter is far outside the image.
  const double xMargin = std::fabs(right_ - left_) / 64, yMargin = std::fabs(top_ - bottom_) / 64;
  if (!ClipSegment(std::min(left_, right_) - xMargin, std::max(left_, right_) + xMargin,
                   std::min(top_, bottom_) - yMargin, std::max(top_, bottom_) + yMargin, x1, y1, x2,
                   y2)) {
    return;
  }
  const QLineF line(PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2));
  if (!std::isfinite(line.x1()) || !std::isfinite(line.y1()) || !std::isfinite(line.x2()) ||
      !std::isfinite(line.y2())) {
    return;
  }
  // The painter scales the picture's pixels to the image's: a line one pixel of the picture
  // wide, drawn at the image's resolution.
  QPainter& painter = Painter();
  painter.setPen(QPen(ToQColor(colour), 1.0));
  painter.drawLine(line);
}

std::unique_ptr<Canvas> RasterCanvas::Aside() const {
  const QSizeF size = image_.deviceIndependentSize();
  auto aside = std::make_unique<RasterCanvas>(1, 1);
  aside->Resize(static_cast<int>(std::lround(size.width())),
                static_cast<int>(std::lround(size.height())), Scale());
  return aside;
}

void RasterCanvas::ShowAside(Canvas& aside) {
  auto& other = dynamic_cast<RasterCanvas&>(aside);
  other.EndPainting();
  if (other.image_.size() != image_.size() || other.Scale() != Scale()) {
    // The window was resized meanwhile: drawn again at its size.
    other.shown_.PaintOn(*this);
    return;
  }
  EndPainting();
  std::swap(image_, other.image_);
  std::swap(shown_, other.shown_);
  left_ = other.left_;
  top_ = other.top_;
  right_ = other.right_;
  bottom_ = other.bottom_;
  currentX_ = other.currentX_;
  currentY_ = other.currentY_;
}

QPainter& RasterCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing);
  }
  return *painter_;
}

void RasterCanvas::EndPainting() const {
  painter_.reset();
}

bool RasterCanvas::Drawable(double x, double y) const {
  // A coordinate system without width or height shows nothing.
  const double width = right_ - left_, height = bottom_ - top_;
  return std::isfinite(x) && std::isfinite(y) && std::isfinite(width) && std::isfinite(height) &&
         width != 0 && height != 0;
}

double RasterCanvas::PixelX(double x) const {
  return (x - left_) / (right_ - left_) * image_.deviceIndependentSize().width();
}

double RasterCanvas::PixelY(double y) const {
  return (y - top_) / (bottom_ - top_) * image_.deviceIndependentSize().height();
}

}  // namespace tarvenol
