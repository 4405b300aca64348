#pragma once
// The flow in the plane of the stream and the axis (z = 0) on a grid over the body and a margin
// around it: computed once for the axial and the transverse stream, then taken at any angle of
// attack by their sum, with no new computation of the panels.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/array.h"
#include "core/progress.h"
#include "field/body_flow.h"
#include "solver/incidence.h"

namespace tarvenol {

// Points (x0 + (i - 1) dx, y0 + (j - 1) dy), i = 1..nx, j = 1..ny.
struct GridSpan {
  int nx = 0, ny = 0;
  double x0 = 0, y0 = 0, dx = 0, dy = 0;
  double X(int i) const { return x0 + (i - 1) * dx; }
  double Y(int j) const { return y0 + (j - 1) * dy; }
};

// The points of the field by default, along x and y.
inline constexpr int kFieldPoints = 200;

// The body's box with a margin of half the body's size on every side.
GridSpan GridAroundBody(const BodyShape& shape, int nx = kFieldPoints, int ny = kFieldPoints);

// The two streams' velocities at every point of the grid, by point [0..nx, 0..ny].
struct FieldGrid {
  GridSpan span;
  DenseArray<std::uint8_t, 2> masked;      // 1 inside the body or on it: no velocity there
  std::array<std::array<Array2, 3>, 2> V;  // [stream][component]
  std::vector<Point2> section;             // the body's section, from BodyShape::Section
};

// Rows of the grid are computed in parallel; tells progress at Stage::FlowField, and throws
// Cancelled when asked to stop.
FieldGrid ComputeFieldGrid(const BodyFlow& flow, const GridSpan& span, Progress& progress);

// The flow at an angle of attack on the grid; NaN at the masked points.
struct FieldAtIncidence {
  GridSpan span;
  Incidence incidence;
  DenseArray<std::uint8_t, 2> masked;
  Array2 Vx, Vy, Vz, speed, Cp;
  std::vector<Point2> section;
};
FieldAtIncidence FieldAt(const FieldGrid& grid, const Incidence& a);

}  // namespace tarvenol
