#include "study/study_drag.h"

#include <charconv>
#include <sstream>

#include "boundary_layer/drag_input.h"
#include "boundary_layer/drag_table.h"
#include "core/text_number.h"
#include "results/goethert.h"

namespace tarvenol {

StudyDragResult StudyDrag(const StudyBody& body, const StudySolution& solved, double reynolds,
                          const TransitionSetting& transition, const std::optional<double>& mach,
                          Progress& progress) {
  BoundaryLayerInput in = BoundaryLayerInputOf(body.state, solved.solution, reynolds, transition);
  if (mach && *mach > 0) {
    const PressureAtMach pressure =
        PressureAtMachOf(body.state, body.body, solved.solution, IncidenceOf(0), {*mach}, progress);
    TakeEdgeSpeedsAtMach(in, pressure.speed, LoopEnd(body.state.NI), LoopEnd(body.state.NJ));
  }
  const BoundaryLayerResult layer = MarchBoundaryLayer(in);
  // The lines' numbers are the shortest texts that read back as the same doubles.
  StudyDragResult drag{{}, layer.warnings};
  std::istringstream lines(DragFigureLines(layer));
  for (std::string name, value; lines >> name >> value;) {
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    const bool read = error == std::errc() && end == value.data() + value.size();
    drag.lines.emplace_back(name, read ? std::optional<double>(number) : std::nullopt);
  }
  return drag;
}

std::optional<TransitionSetting> TransitionNamed(const std::string& text) {
  if (text == "free") return TransitionSetting{TransitionKind::Free, 0};
  if (text == "laminar") return TransitionSetting{TransitionKind::Laminar, 0};
  if (const std::optional<double> trip = WholeTextNumber(text)) {
    return TransitionSetting{TransitionKind::Trip, *trip};
  }
  return std::nullopt;
}

}  // namespace tarvenol
