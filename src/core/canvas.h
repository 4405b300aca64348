#pragma once
// The drawing surface of the picture area: the few operations the wire-frame view needs,
// and a drawing kept as the list of those operations, to be painted on a surface later.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/progress.h"

namespace tarvenol {

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kGreen{0, 255, 0};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kPictureBackground{255, 255, 192};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // The whole area shows its background colour again.
  virtual void Clear() = 0;
  // From now on the edges of the area lie at these user coordinates; top may exceed bottom.
  virtual void SetCoordinates(double left, double top, double right, double bottom) = 0;
  // One point in the foreground colour; it becomes the current point.
  virtual void PlotPoint(double x, double y) = 0;
  // A line from the current point to (x, y), which becomes the current point.
  virtual void LineTo(double x, double y, Colour colour) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, Colour colour) = 0;

  // A new surface like this one, on which a large picture may be drawn away from the window's
  // thread, then shown here by ShowAside; none where drawing here is quick anyway.
  virtual std::unique_ptr<Canvas> Aside() const { return nullptr; }
  // What was drawn on a surface from Aside, shown here in place of what was.
  virtual void ShowAside(Canvas& aside) { (void)aside; }
};

struct DrawOp {
  enum Kind { Clear, SetCoordinates, PlotPoint, LineTo, Line } kind;
  double a = 0, b = 0, c = 0, d = 0;  // coordinates in the order the operation takes them
  Colour colour{};
};

// A surface that only remembers what is drawn on it. A picture is made whole on one of
// these first, so that a picture that cannot be made leaves the one shown as it was.
class Drawing : public Canvas {
 public:
  void Clear() override { ops.push_back({DrawOp::Clear}); }
  void SetCoordinates(double left, double top, double right, double bottom) override {
    ops.push_back({DrawOp::SetCoordinates, left, top, right, bottom});
  }
  void PlotPoint(double x, double y) override { ops.push_back({DrawOp::PlotPoint, x, y}); }
  void LineTo(double x, double y, Colour colour) override {
    ops.push_back({DrawOp::LineTo, x, y, 0, 0, colour});
  }
  void Line(double x1, double y1, double x2, double y2, Colour colour) override {
    ops.push_back({DrawOp::Line, x1, y1, x2, y2, colour});
  }

  // Every operation again, in order, on another surface, telling progress as it goes; Cancelled
  // when it asks to stop, and then the surface is half drawn.
  void PaintOn(Canvas& canvas, Progress& progress) const {
    ProgressClock clock;
    constexpr std::size_t kOpsBetweenLooks = 4096;
    for (std::size_t at = 0; at < ops.size(); at += kOpsBetweenLooks) {
      clock.Tick(progress, Stage::Picture,
                 static_cast<double>(at) / static_cast<double>(ops.size()));
      PaintOps(canvas, at, std::min(ops.size(), at + kOpsBetweenLooks));
    }
  }
  // Every operation again, in order, on another surface.
  void PaintOn(Canvas& canvas) const { PaintOps(canvas, 0, ops.size()); }

  std::vector<DrawOp> ops;

 private:
  void PaintOps(Canvas& canvas, std::size_t from, std::size_t to) const {
    for (std::size_t at = from; at < to; ++at) {
      const DrawOp& op = ops[at];
      switch (op.kind) {
        case DrawOp::Clear:
          canvas.Clear();
          break;
        case DrawOp::SetCoordinates:
          canvas.SetCoordinates(op.a, op.b, op.c, op.d);
          break;
        case DrawOp::PlotPoint:
          canvas.PlotPoint(op.a, op.b);
          break;
        case DrawOp::LineTo:
          canvas.LineTo(op.a, op.b, op.colour);
          break;
        case DrawOp::Line:
          canvas.Line(op.a, op.b, op.c, op.d, op.colour);
          break;
      }
    }
  }
};

}  // namespace tarvenol
