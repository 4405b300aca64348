#pragma once
// One operation for each user action of the main window. An operation that fails shows its
// message and leaves the model state, the picture and the report as they were before it began.

#include <memory>

#include "core/window_ops.h"
#include "session/operation.h"
#include "session/operations.h"
#include "session/program.h"

namespace tarvenol {

// Constants, the report file's name, and the report taken and emptied. False when another
// running program holds the report: then this one must end, without touching it.
bool StartUp(Program& p, WindowOps& win);

void ShowSphereCommand(Program& p, WindowOps& win);
void PrepareSphere(Program& p, WindowOps& win);

void ShowFileChooser(Program& p, WindowOps& win);
// The chooser closed without a file chosen (Escape).
void HideFileChooser(Program& p, WindowOps& win);
void DriveChanged(Program& p, WindowOps& win);
void DirectoryChanged(Program& p, WindowOps& win);
// The file clicked in the file list, in the directory of the file list.
void PrepareBodyFile(Program& p, WindowOps& win);

// The current body's profile made a smooth curve through its points and panelled anew with the
// NI typed, crowded towards the nose and the tail; NJ as typed. Refused before a geometry.
void ResampleCurrentProfile(Program& p, WindowOps& win);

void ApplyHessMethod(Program& p, WindowOps& win);
void ShowAbout(Program& p, WindowOps& win);

// The operations that compute, planned on the window's thread from what the window shows, for
// a caller that runs them elsewhere and finishes them on the window's thread. Nothing when the
// operation is refused before it begins; its message has then been shown.
std::unique_ptr<Operation> PlanPrepareSphere(Program& p, WindowOps& win);
std::unique_ptr<Operation> PlanPrepareBodyFile(Program& p, WindowOps& win);
std::unique_ptr<Operation> PlanResampleProfile(Program& p, WindowOps& win);
// The full solve, unless it cannot fit in memory or its report would grow past
// kLargeReportBytes: then the solve by the body's symmetry is offered first.
std::unique_ptr<Operation> PlanApplyHessMethod(Program& p, WindowOps& win);
// The solve of the kind asked for, asking nothing: the batch tool's actions. A size that
// cannot fit in memory is refused at once.
std::unique_ptr<Operation> PlanSolve(Program& p, WindowOps& win, SolveKind kind);
// A planned operation run to its end here, telling progress how far it has come; nothing
// happens for no operation.
void RunOperation(Program& p, WindowOps& win, std::unique_ptr<Operation> operation,
                  Progress& progress);

}  // namespace tarvenol
