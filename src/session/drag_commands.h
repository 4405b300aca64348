#pragma once
// The drag of the body of the solution shown, as the window and the batch tool give it: its
// settings (the Reynolds number and the transition, like the angle of attack), the boundary
// layer marched on the axial stream's surface velocity by an operation that may run off the
// window's thread, and its table.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "boundary_layer/boundary_layer.h"
#include "core/window_ops.h"
#include "results/goethert.h"
#include "session/operation.h"
#include "session/program.h"

namespace tarvenol {

// Sets the results' Reynolds number from a text: a number above 0 and at most kMostReynolds, or
// a message naming the text, and the number stays. True when it was taken.
bool SetReynolds(Program& p, WindowOps& win, const std::string& text);
// Sets the transition from a text: "free" (Michel's criterion), "laminar" (none), or a number
// from 0 to 1, the x/L of a trip; or a message naming the text, and the setting stays.
bool SetTransition(Program& p, WindowOps& win, const std::string& text);
// The transition as SetTransition reads it.
std::string TransitionText(const TransitionSetting& transition);

// The drag of the solution shown at p's settings, planned on the window's thread: it takes the
// boundary layer's input from the solution now, so that the program may go on while it runs,
// and leaves its result in into when it is finished. Nothing, with why in refusal, before a
// solution, for a body of fewer than kLeastPanelsAlong panels along, or at an angle of attack
// other than 0: the drag is the axial stream's.
std::unique_ptr<Operation> PlanDrag(const Program& p, std::optional<DragResult>& into,
                                    std::string& refusal);
// The same, the refusal shown as a message.
std::unique_ptr<Operation> PlanDrag(const Program& p, WindowOps& win,
                                    std::optional<DragResult>& into);

// The drag computed here, telling progress how far it has come; nothing, after a message, when
// it is refused or fails, and nothing, without one, when progress asks to stop.
std::optional<DragResult> ComputeDrag(Program& p, WindowOps& win, Progress& progress);

// The boundary layer along the meridian as a CSV table at path, a row a station; a message when
// it cannot be written, and then nothing is left there.
void ExportDragCsv(const Program& p, WindowOps& win, const DragResult& drag,
                   const std::string& path);

}  // namespace tarvenol
