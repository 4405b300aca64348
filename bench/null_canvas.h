#pragma once
// A drawing surface that draws nothing: the benchmarks time the work, not a picture.

#include "core/canvas.h"

namespace tarvenol {

class NullCanvas : public Canvas {
 public:
  void Clear() override {}
  void SetCoordinates(double, double, double, double) override {}
  void PlotPoint(double, double) override {}
  void LineTo(double, double, Colour) override {}
  void Line(double, double, double, double, Colour) override {}
};

}  // namespace tarvenol
