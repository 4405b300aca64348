#pragma once
// The flow around a studied body, off its surface: the velocity at given points, and the field
// in the plane of the stream with its streamlines, computed once for the axial and the
// transverse stream and then taken at any angle of attack.

#include <optional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "field/body_flow.h"
#include "field/field_grid.h"
#include "field/streamlines.h"
#include "study/study_solution.h"

namespace tarvenol {

struct ProbedFlow {
  std::vector<std::optional<FlowAtPoint>> flows;  // none inside the body or on it
  std::size_t masked = 0;                         // points without a velocity
  std::string maskedMessage;                      // which they are, when there are any
};

// The flow at the points at the angle of attack (degrees), as tarvenol-batch's probe-csv gives
// it: through the panels' expansions, within their bound.
ProbedFlow ProbeStudy(const StudyBody& body, const StudySolution& solved,
                      const std::vector<Vector3>& points, double alphaDegrees);

// Both streams' field on nx x ny points over the body and a margin of half its size, as the
// window's flow around the body computes it; tells progress, which may stop it (Cancelled).
// Refuses counts below 2 or above 10000.
FieldGrid StudyFieldGrid(const StudyBody& body, const StudySolution& solved, double nx, double ny,
                         Progress& progress);

}  // namespace tarvenol
