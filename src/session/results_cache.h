#pragma once
// What the session keeps of the results of the solution shown, computed once and taken by every
// window and action that asks for them again: its flow field, its drag, its forces over a range
// of angles and the body's figures. Each but the figures knows the solution it came from
// (SolutionKey), so that one kept from an earlier solution is never taken for the one shown; the
// figures go with each new solution.

#include <cstdint>
#include <optional>
#include <string>

#include "boundary_layer/boundary_layer.h"
#include "field/field_grid.h"
#include "results/body_report.h"
#include "results/forces.h"
#include "results/goethert.h"
#include "session/drag_settings.h"

namespace tarvenol {

// The field of one solution, in both streams.
struct FlowField {
  FieldGrid grid;
  std::string body;  // as a title names it
  int NI = 0, NJ = 0;
  std::uint64_t solution = 0;  // the SolutionKey it was computed from
};

// The boundary layer and drag of one solution at one setting.
struct DragResult {
  BoundaryLayerResult layer;
  std::string body;   // as a title names it
  double length = 0;  // of the body, L
  DragSettings settings;
  MachSetting mach;            // whose pressure gave the edge velocity
  std::uint64_t solution = 0;  // the SolutionKey it was computed from
};

// The forces of one solution at one Mach number over the angles from..to by step.
struct ForcesOverRange {
  ForcesTable table;  // its forces at the angle shown are those of when it was made
  double from = 0, to = 0, step = 0;
  MachSetting mach;
  std::uint64_t solution = 0;  // the SolutionKey it was computed from
};

struct ResultsCache {
  std::optional<FlowField> field;
  std::optional<DragResult> drag;
  std::optional<ForcesOverRange> forces;
  // The body's figures and added masses, once asked for; a new solution drops them.
  std::optional<BodyReport> bodyReport;
};

}  // namespace tarvenol
