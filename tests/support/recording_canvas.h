#pragma once
// A drawing surface that remembers every operation, for tests of the view.

#include <vector>

#include "core/canvas.h"

namespace tarvenol::testing {

struct CanvasOp {
  enum Kind { Clear, SetCoordinates, PlotPoint, LineTo, Line } kind;
  double a = 0, b = 0, c = 0, d = 0;  // coordinates in the order the operation takes them
  Colour colour{};
};

class RecordingCanvas : public Canvas {
 public:
  void Clear() override { ops.push_back({CanvasOp::Clear}); }
  void SetCoordinates(double left, double top, double right, double bottom) override {
    ops.push_back({CanvasOp::SetCoordinates, left, top, right, bottom});
  }
  void PlotPoint(double x, double y) override { ops.push_back({CanvasOp::PlotPoint, x, y}); }
  void LineTo(double x, double y, Colour colour) override {
    ops.push_back({CanvasOp::LineTo, x, y, 0, 0, colour});
  }
  void Line(double x1, double y1, double x2, double y2, Colour colour) override {
    ops.push_back({CanvasOp::Line, x1, y1, x2, y2, colour});
  }

  std::vector<CanvasOp> ops;
};

}  // namespace tarvenol::testing
