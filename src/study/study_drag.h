#pragma once
// The drag of a studied body at a Reynolds number: the boundary layer on its solution's axial
// stream (boundary_layer/boundary_layer.h) and the figures tarvenol-batch's drag-figures prints.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "boundary_layer/boundary_layer.h"
#include "core/progress.h"
#include "study/study_solution.h"

namespace tarvenol {

// drag-figures' lines by name; a place that is not there (no separation, no transition) has
// no value.
using DragLines = std::vector<std::pair<std::string, std::optional<double>>>;

struct StudyDragResult {
  DragLines lines;
  std::vector<std::string> warnings;  // the boundary layer's
};

// At a Mach number where one is given, the edge velocity of Göthert's pressure
// (TakeEdgeSpeedsAtMach), as tarvenol-batch's drag-figures takes it after mach M. Refuses what
// the boundary layer refuses: a Reynolds number that is not above 0 or above kMostReynolds, a
// trip outside 0..1, a body or solution it cannot take the layer from; tells progress, which may
// stop the affine body's solve (Cancelled).
StudyDragResult StudyDrag(const StudyBody& body, const StudySolution& solved, double reynolds,
                          const TransitionSetting& transition, const std::optional<double>& mach,
                          Progress& progress);

// The transition a text names: free, laminar, or the x/L of a trip; none for another text.
std::optional<TransitionSetting> TransitionNamed(const std::string& text);

}  // namespace tarvenol
