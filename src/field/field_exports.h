#pragma once
// The flow around the body in files other programs read: the field in the plane of the stream
// as a VTK XML grid for ParaView, and the flow at points of a table (field/points_table.h).

#include <optional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/whole_file.h"
#include "field/body_flow.h"
#include "field/field_grid.h"

namespace tarvenol {

// The field as VTK XML: a structured grid (.vts) or image data (.vti), by path's ending, with
// the velocity, the speed and Cp as point data (NaN at the masked points), "masked" (1 inside
// the body or on it) and VTK's own "vtkGhostType" (2, a hidden point, there), and the angle of
// attack as field data "alpha_degrees". Written whole or not at all, never over a held file;
// another ending is refused.
void WriteFieldVtk(const std::string& path, const FieldAtIncidence& field,
                   const std::vector<HeldFile>& held);

// The points with their flow as a CSV table under the header
// x,y,z,Vx,Vy,Vz,speed,Cp,masked; a point without flow (inside the body or on it) has empty
// fields and masked 1. Written whole or not at all: a cancel through progress leaves what was
// there.
void WriteProbeTable(const std::string& path, const std::vector<Vector3>& points,
                     const std::vector<std::optional<FlowAtPoint>>& flows,
                     const std::vector<HeldFile>& held, Progress& progress);

}  // namespace tarvenol
