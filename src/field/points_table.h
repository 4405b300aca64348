#pragma once
// Tables of points, as the probes read them: a row of three numbers x, y, z a point, separated by
// commas, after an optional header row x,y,z; blank lines are skipped, and so is a UTF-8 byte
// order mark at the start (a spreadsheet's "CSV UTF-8"). A row of anything else is refused with
// its line number and text, and so is a line longer than any row of three numbers.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "field/body_flow.h"

namespace tarvenol {

// The most characters a line of a table may hold: three numbers of up to 1000 characters each,
// with blanks and commas between them.
inline constexpr std::size_t kMaxTableLine = 4096;

// A coordinate as the program reads a number typed in whole: the full text a finite number,
// blanks around it allowed.
std::optional<double> ReadCoordinate(std::string_view text);

// The points of the table at path, which must be a regular file (or a link to one). Tells
// progress where it stands as it reads, and throws Cancelled when asked to stop.
std::vector<Vector3> ReadProbePoints(const std::string& path, Progress& progress);
// The same from a file already open, named name in messages.
std::vector<Vector3> ReadProbePoints(std::FILE* file, const std::string& name, Progress& progress);

}  // namespace tarvenol
