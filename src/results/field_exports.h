#pragma once
// The flow around the body in files other programs read: the field in the plane of the stream
// as a VTK XML grid for ParaView, and the flow at points read from a CSV table.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/whole_file.h"
#include "results/body_flow.h"
#include "results/field_grid.h"

namespace tarvenol {

// The field as VTK XML: a structured grid (.vts) or image data (.vti), by path's ending, with
// the velocity, the speed and Cp as point data (NaN at the masked points), "masked" (1 inside
// the body or on it) and VTK's own "vtkGhostType" (2, a hidden point, there), and the angle of
// attack as field data "alpha_degrees". Written whole or not at all, never over a held file;
// another ending is refused.
void WriteFieldVtk(const std::string& path, const FieldAtIncidence& field,
                   const std::vector<HeldFile>& held);

// A coordinate as the program reads a number typed in whole: the full text a finite number,
// blanks around it allowed.
std::optional<double> ReadCoordinate(std::string_view text);

// Points of a CSV table: a row of three numbers x, y, z a point, separated by commas, after an
// optional header row x,y,z; blank lines are skipped. A row of anything else is refused with
// its line number and text.
std::vector<Vector3> ReadProbePoints(const std::string& path);

// The points with their flow as a CSV table under the header
// x,y,z,Vx,Vy,Vz,speed,Cp,masked; a point without flow (inside the body or on it) has empty
// fields and masked 1. Written whole or not at all.
void WriteProbeTable(const std::string& path, const std::vector<Vector3>& points,
                     const std::vector<std::optional<FlowAtPoint>>& flows,
                     const std::vector<HeldFile>& held);

}  // namespace tarvenol
