#pragma once
// The solution shown, taken further: the pressure along the body for its plot, and the exports.

#include <optional>
#include <string>

#include "core/window_ops.h"
#include "results/pressure.h"
#include "session/program.h"

namespace tarvenol {

// Sets the angle of attack of the results from a text: a number of degrees from -90 to 90, or a
// message naming the text, and the angle stays. True when it was taken.
bool SetAngleOfAttack(Program& p, WindowOps& win, const std::string& text);

// "the sphere", or the body file's name.
std::string BodyName(const Program& p);

// The pressure along the body of the solution shown; nothing before a solution of the geometry.
std::optional<PressureAlongBody> CurrentPressure(const Program& p);

// The panels of the solution shown as a CSV table, or as VTK XML PolyData, at path; a message
// when there is no solution yet, or the file cannot be written, and then nothing is left there.
void ExportCsv(const Program& p, WindowOps& win, const std::string& path);
void ExportVtk(const Program& p, WindowOps& win, const std::string& path);

}  // namespace tarvenol
