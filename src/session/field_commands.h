#pragma once
// The flow around the body of the solution shown: its field in the plane of the stream,
// computed once for the axial and the transverse stream by an operation that may run off the
// window's thread, then taken at any angle of attack; its files; and the flow at given points.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/window_ops.h"
#include "field/field_grid.h"
#include "field/flow_picture.h"
#include "session/operation.h"
#include "session/program.h"

namespace tarvenol {

// What tells one solution from another: the number of the solution taken; 0 when none is
// shown.
std::uint64_t SolutionKey(const Program& p);

// The field of the solution shown on a grid of nx x ny points, planned on the window's thread:
// it takes a copy of what it needs, so that the program may go on while it runs, and leaves
// its field in into when it is finished. Nothing, with a message, when there is no solution.
std::unique_ptr<Operation> PlanFlowField(const Program& p, WindowOps& win,
                                         std::optional<FlowField>& into, int nx = kFieldPoints,
                                         int ny = kFieldPoints);

// The picture of a field at an angle of attack in degrees.
FlowPicture FlowPictureAt(const FlowField& field, double alphaDegrees);

// The field at the results' angle of attack as a VTK file at path; a message when it cannot be
// written, and then nothing is left there.
void ExportFieldVtk(const Program& p, WindowOps& win, const FlowField& field,
                    const std::string& path);

// The velocity and Cp at the point whose coordinates are typed as x, y and z, at the results'
// angle of attack, as lines "name value"; nothing, with a message naming what is wrong, for a
// text that is not a number, a point inside the body or on it, or no solution.
std::optional<std::string> ProbeFlow(const Program& p, WindowOps& win, const std::string& x,
                                     const std::string& y, const std::string& z);

// The same for every point of the CSV table at in, written as a table at out, which may not be
// in by any name; a point inside the body or on it gets empty fields, and a message counts
// them. A cancel through progress writes nothing.
void ProbeFlowTable(const Program& p, WindowOps& win, const std::string& in, const std::string& out,
                    Progress& progress);

}  // namespace tarvenol
