#include "session/drag_commands.h"

#include <strings.h>

#include <charconv>
#include <cmath>

#include "boundary_layer/drag_input.h"
#include "boundary_layer/drag_table.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "session/field_commands.h"
#include "session/guarded.h"
#include "session/mach_commands.h"
#include "session/results_commands.h"
#include "session/saved_files.h"

namespace tarvenol {
namespace {

class DragOperation : public Operation {
 public:
  DragOperation(BoundaryLayerInput in, DragResult result, std::optional<DragResult>& into)
      : in_(std::move(in)), result_(std::move(result)), into_(into) {}

 private:
  // The march takes milliseconds even at the largest NI: asked to stop, it stops after it.
  void Compute(Progress& progress) override {
    Step(progress, Stage::BoundaryLayer, 0);
    result_.layer = MarchBoundaryLayer(in_);
    Step(progress, Stage::BoundaryLayer, 1);
  }

  void Take(Program&, WindowOps&) override { into_ = std::move(result_); }

  const BoundaryLayerInput in_;
  DragResult result_;
  std::optional<DragResult>& into_;
};

// The boundary layer's input from the solution shown: the one place where the edge velocity
// is taken from the potential flow, the axial stream's surface speed in units of the free
// stream's; at a Mach number above 0, the edge velocity of Göthert's pressure
// (TakeEdgeSpeedsAtMach).
BoundaryLayerInput DragInputOf(const Program& p) {
  BoundaryLayerInput in =
      BoundaryLayerInputOf(p.state, p.solution, p.drag.reynolds, p.drag.transition);
  if (CurrentMach(p).mach == 0) return in;
  const std::optional<PressureAtMach> pressure = PressureShownAt(p, IncidenceOf(0));
  if (!pressure) {
    throw ProgramError(
        "The pressure at the results' Mach number cannot be taken, so neither can the "
        "boundary layer's edge velocity.");
  }
  TakeEdgeSpeedsAtMach(in, pressure->speed, LoopEnd(p.state.NI), LoopEnd(p.state.NJ));
  return in;
}

std::string Shortest(double v) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

// The text with the blanks around it taken off.
std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool SetReynolds(Program& p, WindowOps& win, const std::string& text) {
  const std::optional<double> re = WholeTextNumber(text);
  if (!re || !(*re > 0 && *re <= kMostReynolds)) {
    win.MessageBox(
        "The Reynolds number on the body's length must be a number above 0 and at "
        "most 1e10; " +
        Shown(text) + " is not.");
    return false;
  }
  p.drag.reynolds = *re;
  return true;
}

bool SetTransition(Program& p, WindowOps& win, const std::string& text) {
  const std::string word = Trimmed(text);
  TransitionSetting setting;
  if (strcasecmp(word.c_str(), "free") == 0) {
    setting.kind = TransitionKind::Free;
  } else if (strcasecmp(word.c_str(), "laminar") == 0) {
    setting.kind = TransitionKind::Laminar;
  } else if (const std::optional<double> x = WholeTextNumber(text); x && *x >= 0 && *x <= 1) {
    setting = {TransitionKind::Trip, *x + 0.0};  // a trip at -0 is one at 0
  } else {
    win.MessageBox(
        "The transition is free, laminar, or a trip at a distance from the nose x/L from 0 to "
        "1; " +
        Shown(text) + " is none of these.");
    return false;
  }
  p.drag.transition = setting;
  return true;
}

std::string TransitionText(const TransitionSetting& transition) {
  switch (transition.kind) {
    case TransitionKind::Free:
      return "free";
    case TransitionKind::Laminar:
      return "laminar";
    case TransitionKind::Trip:
      return Shortest(transition.tripXOverL);
  }
  return {};
}

std::unique_ptr<Operation> PlanDrag(const Program& p, std::optional<DragResult>& into,
                                    std::string& refusal) {
  refusal.clear();
  if (SolutionKey(p) == 0) {
    refusal = "There is no drag yet: apply Hess's panel method first.";
    return nullptr;
  }
  if (p.alphaDegrees != 0) {
    refusal = "The drag is the axial stream's, at an angle of attack of 0; the results' angle is " +
              Shortest(p.alphaDegrees) + " degrees: set it to 0 for the drag.";
    return nullptr;
  }
  std::unique_ptr<Operation> operation;
  try {
    BoundaryLayerInput in = DragInputOf(p);
    DragResult shell;
    shell.body = BodyName(p);
    shell.length = in.body.length;
    shell.settings = p.drag;
    shell.mach = CurrentMach(p);
    shell.solution = SolutionKey(p);
    operation = std::make_unique<DragOperation>(std::move(in), std::move(shell), into);
  } catch (const ProgramError& e) {
    refusal = e.what();
  } catch (const std::bad_alloc&) {
    refusal = "There is not enough memory for this operation.";
  }
  return operation;
}

std::unique_ptr<Operation> PlanDrag(const Program& p, WindowOps& win,
                                    std::optional<DragResult>& into) {
  std::string refusal;
  std::unique_ptr<Operation> operation = PlanDrag(p, into, refusal);
  if (!refusal.empty()) win.MessageBox(refusal);
  return operation;
}

std::optional<DragResult> ComputeDrag(Program& p, WindowOps& win, Progress& progress) {
  std::optional<DragResult> drag;
  std::unique_ptr<Operation> operation = PlanDrag(p, win, drag);
  if (!operation) return std::nullopt;
  operation->Run(progress);
  operation->Finish(p, win);
  return drag;
}

void ExportDragCsv(const Program& p, WindowOps& win, const DragResult& drag,
                   const std::string& path) {
  SaveFile(p, win, path, "table of the boundary layer", DragCsv(drag.layer));
}

}  // namespace tarvenol
