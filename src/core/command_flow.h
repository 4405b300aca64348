#pragma once
// One operation for each user action of the main window. Each runs to completion; one
// that fails shows its message and leaves the model state as it was before it began.

#include "core/program.h"
#include "core/window_ops.h"

namespace tarvenol {

// Constants, the report file's name, and the report emptied.
void StartUp(Program& p, WindowOps& win);

void ShowSphereCommand(Program& p, WindowOps& win);
void PrepareSphere(Program& p, WindowOps& win);

void ShowFileChooser(Program& p, WindowOps& win);
void DriveChanged(Program& p, WindowOps& win);
void DirectoryChanged(Program& p, WindowOps& win);
// The file clicked in the file list, in the directory of the file list.
void PrepareBodyFile(Program& p, WindowOps& win);

void ApplyHessMethod(Program& p, WindowOps& win);
void ShowAbout(Program& p, WindowOps& win);

// The largest panel count along or around the body that the program accepts.
inline constexpr double kMaxCount = 1e6;

}  // namespace tarvenol
