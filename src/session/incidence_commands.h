#pragma once
// The body at an angle of attack, as the window and the batch tool show it: the force and
// moment of the pressure over a range of angles, and the body's figures with its added masses.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/window_ops.h"
#include "results/added_masses.h"
#include "results/body_report.h"
#include "results/exact_pressure.h"
#include "results/forces.h"
#include "session/operation.h"
#include "session/program.h"

namespace tarvenol {

// The spheroid the shown body is, if it is one.
std::optional<Spheroid> SpheroidOfBody(const Program& p);

// The pressure's force and moment of the solution shown at its angle of attack; nothing before a
// solution of the geometry.
std::optional<PressureForces> CurrentForces(const Program& p);

// The table over the angles; a message, and nothing, before a solution or for a range that is
// not one (ends outside -90..90, a step not above 0, more than 10,000 rows). Tells progress,
// where given, a row at a time; nothing, without a message, when it asks to stop.
std::optional<ForcesTable> ForcesOverAngles(Program& p, WindowOps& win, double from, double to,
                                            double step, Progress* progress = nullptr);

// The same for a range known to be one, of the solution shown, with the forces at the angle of
// attack shown; throws Cancelled when progress asks to stop. The table of a solution, Mach
// number and range is made once and kept in the session's results.
ForcesTable ForcesTableOf(Program& p, double from, double to, double step,
                          Progress* progress = nullptr);

// The table as CSV at path, one row an angle; a message when it cannot be, nothing written when
// progress asks to stop.
void ExportForces(Program& p, WindowOps& win, const std::string& path, double from, double to,
                  double step, Progress* progress = nullptr);

// The figures and added masses, computed with their second, coarser solution off the window's
// thread; the program takes them as p.results.bodyReport. Nothing, after a message, before a
// solution.
std::unique_ptr<Operation> PlanBodyFigures(Program& p, WindowOps& win);

}  // namespace tarvenol
