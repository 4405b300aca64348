#include "plot/flow_drawing.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/shown_text.h"

namespace tarvenol {
namespace {

struct Stop {
  double at;  // 0..1 along the scale
  int r, g, b;
};

// Cp: blue where the stream runs fast (Cp < 0), white at the free stream's pressure, red
// towards stagnation (Cp = 1); after ColorBrewer's RdBu.
constexpr Stop kBelow[] = {{0, 247, 247, 247},
                           {0.25, 209, 229, 240},
                           {0.5, 146, 197, 222},
                           {0.75, 67, 147, 195},
                           {1, 33, 102, 172}};
constexpr Stop kAbove[] = {{0, 247, 247, 247},
                           {0.25, 253, 219, 199},
                           {0.5, 244, 165, 130},
                           {0.75, 214, 96, 77},
                           {1, 178, 24, 43}};
// Speed, from still to fast; after matplotlib's viridis.
constexpr Stop kSpeed[] = {{0, 68, 1, 84},
                           {0.25, 59, 82, 139},
                           {0.5, 33, 145, 140},
                           {0.75, 94, 201, 98},
                           {1, 253, 231, 37}};

const QColor kSectionColour(190, 190, 190);

template <std::size_t N>
QColor Ramp(const Stop (&stops)[N], double t) {
  t = std::clamp(t, 0.0, 1.0);
  std::size_t k = 1;
  while (k + 1 < N && stops[k].at < t) ++k;
  const Stop &a = stops[k - 1], &b = stops[k];
  const double f = (t - a.at) / (b.at - a.at);
  auto mix = [f](int u, int v) { return static_cast<int>(std::lround(u + f * (v - u))); };
  return QColor(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

// The quantity shown and its scale.
class Scale {
 public:
  Scale(const FieldAtIncidence& f, FlowColour colour) : colour_(colour) {
    const Array2& values = colour == FlowColour::Cp ? f.Cp : f.speed;
    low_ = HUGE_VAL;
    high_ = -HUGE_VAL;
    for (int j = 1; j <= f.span.ny; ++j) {
      for (int i = 1; i <= f.span.nx; ++i) {
        if (f.masked(i, j) != 0) continue;
        low_ = std::min(low_, values(i, j));
        high_ = std::max(high_, values(i, j));
      }
    }
    if (colour == FlowColour::Cp) {
      // Cp is at most 1, at a stagnation point; the scale keeps 0 white.
      low_ = std::min(low_, -0.05);
      high_ = 1;
    } else {
      low_ = 0;
      high_ = std::max(high_, 1.0);
    }
  }

  QColor Colour(double v) const {
    if (colour_ == FlowColour::Speed) return Ramp(kSpeed, v / high_);
    return v < 0 ? Ramp(kBelow, v / low_) : Ramp(kAbove, v / high_);
  }
  const Array2& Values(const FieldAtIncidence& f) const {
    return colour_ == FlowColour::Cp ? f.Cp : f.speed;
  }
  double Low() const { return low_; }
  double High() const { return high_; }
  const char* Name() const { return colour_ == FlowColour::Cp ? "Cp" : "speed / U"; }

 private:
  FlowColour colour_;
  double low_, high_;
};

// Steps of 1, 2 or 5 times a power of ten, about count of them over low..high.
std::vector<double> Ticks(double low, double high, int count) {
  const double raw = (high - low) / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (const double m : {2.0, 5.0, 10.0}) {
    if (step < raw) step = m * power;
  }
  std::vector<double> ticks;
  const double first = std::ceil(low / step);
  for (int k = 0; (first + k) * step <= high + 1e-9 * step; ++k) {
    const double t = (first + k) * step;
    ticks.push_back(std::fabs(t) < 1e-9 * step ? 0 : t);
  }
  return ticks;
}

QString Label(double v) {
  return QString::number(v, 'g', 4);
}

// The colour map: one pixel a grid point. A masked point takes the mean colour of the points
// around it that are not, so that the map drawn smoothly shows no seam along the body's
// section, which covers the masked points.
QImage ColourMap(const FieldAtIncidence& f, const Scale& scale) {
  const int nx = f.span.nx, ny = f.span.ny;
  QImage image(nx, ny, QImage::Format_RGB32);
  const Array2& values = scale.Values(f);
  auto pixel = [&](int i, int j) -> QRgb& {
    return reinterpret_cast<QRgb*>(image.scanLine(ny - j))[i - 1];
  };
  for (int j = 1; j <= ny; ++j) {
    for (int i = 1; i <= nx; ++i) {
      if (f.masked(i, j) == 0) pixel(i, j) = scale.Colour(values(i, j)).rgb();
    }
  }
  for (int j = 1; j <= ny; ++j) {
    for (int i = 1; i <= nx; ++i) {
      if (f.masked(i, j) == 0) continue;
      int r = 0, g = 0, b = 0, n = 0;
      for (int a = std::max(1, i - 1); a <= std::min(nx, i + 1); ++a) {
        for (int c = std::max(1, j - 1); c <= std::min(ny, j + 1); ++c) {
          if (f.masked(a, c) != 0) continue;
          const QRgb near = pixel(a, c);
          r += qRed(near);
          g += qGreen(near);
          b += qBlue(near);
          ++n;
        }
      }
      pixel(i, j) = n > 0 ? qRgb(r / n, g / n, b / n) : kSectionColour.rgb();
    }
  }
  return image;
}

// From the plane of the flow to the painter's coordinates, at equal scales.
class Frame {
 public:
  Frame(const GridSpan& s, const QRectF& box) {
    x0_ = s.x0;
    y1_ = s.Y(s.ny);
    const double width = s.X(s.nx) - s.x0, height = y1_ - s.y0;
    scale_ = std::min(box.width() / width, box.height() / height);
    left_ = box.left() + (box.width() - scale_ * width) / 2;
    top_ = box.top() + (box.height() - scale_ * height) / 2;
    plot_ = QRectF(left_, top_, scale_ * width, scale_ * height);
  }
  QPointF operator()(double x, double y) const {
    return {left_ + scale_ * (x - x0_), top_ + scale_ * (y1_ - y)};
  }
  const QRectF& Plot() const { return plot_; }
  double Scale() const { return scale_; }

 private:
  double x0_ = 0, y1_ = 0, scale_ = 1, left_ = 0, top_ = 0;
  QRectF plot_;
};

void DrawAxes(QPainter& painter, const Frame& frame, const GridSpan& s) {
  const QFontMetricsF metrics(painter.font());
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame.Plot());
  const int xCount = std::max(2, static_cast<int>(frame.Plot().width() / 90));
  for (const double x : Ticks(s.x0, s.X(s.nx), xCount)) {
    const QPointF at = frame(x, s.y0);
    painter.drawLine(at, at + QPointF(0, 5));
    const QString text = Label(x);
    painter.drawText(
        QPointF(at.x() - metrics.horizontalAdvance(text) / 2, at.y() + 6 + metrics.ascent()), text);
  }
  const int yCount = std::max(2, static_cast<int>(frame.Plot().height() / 70));
  for (const double y : Ticks(s.y0, s.Y(s.ny), yCount)) {
    const QPointF at = frame(s.x0, y);
    painter.drawLine(at, at - QPointF(5, 0));
    const QString text = Label(y);
    painter.drawText(
        QPointF(at.x() - 8 - metrics.horizontalAdvance(text), at.y() + metrics.ascent() / 2 - 1),
        text);
  }
  const QPointF xLabel = frame(s.X(s.nx), s.y0);
  painter.drawText(
      QPointF(xLabel.x() - metrics.horizontalAdvance("x"), xLabel.y() + 8 + 2 * metrics.height()),
      "x");
  const QPointF yLabel = frame(s.x0, s.Y(s.ny));
  painter.drawText(
      QPointF(yLabel.x() - 12 - metrics.horizontalAdvance("-0.00"), yLabel.y() + metrics.ascent()),
      "y");
}

void DrawStreamlines(QPainter& painter, const Frame& frame, const FlowPicture& picture) {
  const QColor ink(20, 20, 20);
  painter.setPen(QPen(ink, 1.1));
  for (const Streamline& line : picture.streamlines) {
    if (line.points.size() < 2) continue;
    QPainterPath path(frame(line.points[0][0], line.points[0][1]));
    for (std::size_t k = 1; k < line.points.size(); ++k) {
      path.lineTo(frame(line.points[k][0], line.points[k][1]));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    // An arrowhead a third of the way along, in the flow's direction.
    const std::size_t k = line.points.size() / 3;
    const QPointF a = frame(line.points[k][0], line.points[k][1]);
    const QPointF b = frame(line.points[k + 1][0], line.points[k + 1][1]);
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (length <= 0) continue;
    const QPointF along((b.x() - a.x()) / length, (b.y() - a.y()) / length);
    const QPointF across(-along.y(), along.x());
    const double size = 6;
    const QPointF head[] = {b, b - size * along + size / 2 * across,
                            b - size * along - size / 2 * across};
    painter.setBrush(ink);
    painter.drawPolygon(head, 3);
  }
}

void DrawSection(QPainter& painter, const Frame& frame, const FlowPicture& picture) {
  QPolygonF section;
  for (const Point2& p : picture.field.section) section << frame(p[0], p[1]);
  painter.setPen(QPen(QColor(40, 40, 40), 1.2));
  painter.setBrush(kSectionColour);
  painter.drawPolygon(section);
}

// The colour scale in box, with its ticks, and the legend under it.
void DrawScale(QPainter& painter, const QRectF& box, const Scale& scale) {
  const QFontMetricsF metrics(painter.font());
  painter.setPen(Qt::black);
  painter.drawText(QPointF(box.left(), box.top() + metrics.ascent()), scale.Name());
  const QRectF bar(box.left(), box.top() + metrics.height() + 6, 18,
                   std::max(40.0, box.height() * 0.6));
  const int steps = static_cast<int>(bar.height());
  for (int k = 0; k < steps; ++k) {
    const double v = scale.High() - (scale.High() - scale.Low()) * (k + 0.5) / steps;
    painter.fillRect(QRectF(bar.left(), bar.top() + k, bar.width(), 1.0), scale.Colour(v));
  }
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(bar);
  for (const double v : Ticks(scale.Low(), scale.High(), 6)) {
    const double y = bar.top() + bar.height() * (scale.High() - v) / (scale.High() - scale.Low());
    painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4, y));
    painter.drawText(QPointF(bar.right() + 7, y + metrics.ascent() / 2 - 1), Label(v));
  }

  // The legend.
  double y = bar.bottom() + 2 * metrics.height();
  painter.setPen(QPen(QColor(20, 20, 20), 1.1));
  painter.drawLine(QPointF(box.left(), y), QPointF(box.left() + 22, y));
  painter.drawText(QPointF(box.left() + 28, y + metrics.ascent() / 2 - 1), "streamlines");
  y += 1.6 * metrics.height();
  painter.setPen(QPen(QColor(40, 40, 40), 1.2));
  painter.setBrush(kSectionColour);
  painter.drawRect(QRectF(box.left(), y - 6, 22, 12));
  painter.setPen(Qt::black);
  painter.drawText(QPointF(box.left() + 28, y + metrics.ascent() / 2 - 1), "the body");
  y += 1.2 * metrics.height();
  painter.drawText(QPointF(box.left() + 28, y + metrics.ascent() / 2 - 1), "at z = 0");
}

// The picture's frame: room for the tick labels at the left, for the colour scale and the
// legend at the right, for the title above and the x axis's labels below.
constexpr double kLeftMargin = 64;
constexpr double kScaleWidth = 120;
constexpr double kGap = 24;
double TopMargin(const QFontMetricsF& m) {
  return 12 + 2 * m.height();
}
double BottomMargin(const QFontMetricsF& m) {
  return 24 + 3 * m.height();
}

QFont PictureFont(QFont font) {
  font.setPointSizeF(9);
  return font;
}

// The height at which the plane of the field fills the width.
int FittingHeight(const FlowPicture& picture, int width) {
  const GridSpan& s = picture.field.span;
  const QFontMetricsF metrics(PictureFont(QFont()));
  const double plotWidth = width - kLeftMargin - kScaleWidth - kGap;
  const double aspect = (s.Y(s.ny) - s.y0) / (s.X(s.nx) - s.x0);
  const double height = plotWidth * aspect + TopMargin(metrics) + BottomMargin(metrics);
  return static_cast<int>(std::clamp(std::ceil(height), 400.0, 1200.0));
}

}  // namespace

void DrawFlowPicture(QPainter& painter, const QRectF& area, const FlowPicture& picture,
                     FlowColour colour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  const QFont font = PictureFont(painter.font());
  painter.setFont(font);
  const QFontMetricsF metrics(font);

  QFont titleFont = font;
  titleFont.setPointSizeF(11);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.setPen(Qt::black);
  const QString title = QString::fromStdString(picture.title);
  painter.drawText(QRectF(area.left(), area.top() + 6, area.width(), 2 * metrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop, title);
  painter.setFont(font);

  const FieldAtIncidence& f = picture.field;
  const Scale scale(f, colour);
  const QRectF plotBox(area.left() + kLeftMargin, area.top() + TopMargin(metrics),
                       std::max(10.0, area.width() - kLeftMargin - kScaleWidth - kGap),
                       std::max(10.0, area.height() - TopMargin(metrics) - BottomMargin(metrics)));
  const Frame frame(f.span, plotBox);

  // Each pixel of the map is centred on its grid point.
  const QImage map = ColourMap(f, scale);
  const GridSpan& s = f.span;
  const QPointF topLeft = frame(s.x0 - s.dx / 2, s.Y(s.ny) + s.dy / 2);
  const QPointF bottomRight = frame(s.X(s.nx) + s.dx / 2, s.y0 - s.dy / 2);
  painter.save();
  painter.setClipRect(frame.Plot());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(topLeft, bottomRight), map);
  DrawStreamlines(painter, frame, picture);
  DrawSection(painter, frame, picture);
  painter.restore();
  DrawAxes(painter, frame, s);
  DrawScale(
      painter,
      QRectF(frame.Plot().right() + kGap, frame.Plot().top(), kScaleWidth, frame.Plot().height()),
      scale);
  painter.restore();
}

std::string FlowPictureBytes(const FlowPicture& picture, PlotFormat format, FlowColour colour,
                             int width, int height) {
  if (height <= 0) height = FittingHeight(picture, width);
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  const QRectF area(0, 0, width, height);
  bool drawn = true;
  if (format == PlotFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(QSize(width, height));
    svg.setViewBox(area);
    // The generator writes the title into the file as it is: XML must not meet a bare "&".
    svg.setTitle(QString::fromStdString(MarkupTitle(picture.title)));
    QPainter painter(&svg);
    DrawFlowPicture(painter, area, picture, colour);
    drawn = painter.end();
  } else {
    QImage image(width, height, QImage::Format_ARGB32);
    {
      QPainter painter(&image);
      DrawFlowPicture(painter, area, picture, colour);
    }
    drawn = image.save(&bytes, "PNG");
  }
  return drawn ? bytes.data().toStdString() : std::string();
}

}  // namespace tarvenol
