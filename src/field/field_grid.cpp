#include "field/field_grid.h"

#include <cmath>
#include <limits>

namespace tarvenol {

GridSpan GridAroundBody(const BodyShape& shape, int nx, int ny) {
  const double margin = shape.Size() / 2;
  GridSpan span;
  span.nx = nx;
  span.ny = ny;
  span.x0 = shape.xLow() - margin;
  span.y0 = -(shape.rMax() + margin);
  span.dx = (shape.xHigh() + margin - span.x0) / (nx - 1);
  span.dy = -2 * span.y0 / (ny - 1);
  return span;
}

FieldGrid ComputeFieldGrid(const BodyFlow& flow, const GridSpan& span, Progress& progress) {
  FieldGrid grid;
  grid.span = span;
  grid.masked = DenseArray<std::uint8_t, 2>(span.nx, span.ny);
  for (auto& stream : grid.V) {
    for (Array2& component : stream) component = Array2(span.nx, span.ny);
  }
  grid.section = flow.Shape().Section();

  // Asked at every point: at a few thousand panels a row of points takes a second.
  ParallelStop stop(progress, Stage::FlowField);
  Step(progress, Stage::FlowField, 0);
#pragma omp parallel for schedule(dynamic, 1)
  for (int j = 1; j <= span.ny; ++j) {
    for (int i = 1; i <= span.nx; ++i) {
      if (stop.Stopping((j - 1 + static_cast<double>(i) / span.nx) / span.ny)) break;
      StreamVelocities V;
      if (flow.VelocityAt(span.X(i), span.Y(j), 0, V)) {
        for (std::size_t f = 0; f < 2; ++f) {
          for (std::size_t c = 0; c < 3; ++c) grid.V[f][c](i, j) = V[f][c];
        }
      } else {
        grid.masked(i, j) = 1;
      }
    }
  }
  stop.ThrowIfStopped();
  return grid;
}

FieldAtIncidence FieldAt(const FieldGrid& grid, const Incidence& a) {
  FieldAtIncidence f;
  f.span = grid.span;
  f.incidence = a;
  f.masked = grid.masked;
  f.section = grid.section;
  for (Array2* v : {&f.Vx, &f.Vy, &f.Vz, &f.speed, &f.Cp}) *v = Array2(grid.span.nx, grid.span.ny);
  const double none = std::numeric_limits<double>::quiet_NaN();
  for (int j = 1; j <= grid.span.ny; ++j) {
    for (int i = 1; i <= grid.span.nx; ++i) {
      if (grid.masked(i, j) != 0) {
        for (Array2* v : {&f.Vx, &f.Vy, &f.Vz, &f.speed, &f.Cp}) (*v)(i, j) = none;
        continue;
      }
      StreamVelocities V;
      for (std::size_t s = 0; s < 2; ++s) {
        for (std::size_t c = 0; c < 3; ++c) V[s][c] = grid.V[s][c](i, j);
      }
      const FlowAtPoint p = FlowAtIncidence(V, a.cosA, a.sinA);
      f.Vx(i, j) = p.V[0];
      f.Vy(i, j) = p.V[1];
      f.Vz(i, j) = p.V[2];
      f.speed(i, j) = p.speed;
      f.Cp(i, j) = p.Cp;
    }
  }
  return f;
}

}  // namespace tarvenol
