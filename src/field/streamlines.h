#pragma once
// Streamlines of the flow in the plane of the stream, traced from seeds spread evenly across the
// stream at the grid's upstream edge, by Boost.Odeint's Runge-Kutta Cash-Karp stepper with error
// control, on the grid's velocity taken bilinearly between its points.

#include <vector>

#include "field/field_grid.h"

namespace tarvenol {

inline constexpr int kStreamlineSeeds = 24;

struct Streamline {
  // Where a streamline ends: at the body (a grid cell with a masked corner), at the grid's
  // edge, where the flow stands still, or at its longest.
  enum class End { Body, Edge, Stagnation, Length };
  std::vector<Point2> points;
  End end = End::Length;
};

// One streamline a seed, in the order of the seeds across the stream.
std::vector<Streamline> TraceStreamlines(const FieldAtIncidence& field,
                                         int seeds = kStreamlineSeeds);

}  // namespace tarvenol
