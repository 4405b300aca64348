#pragma once
// Body files: the meridian profile of an axisymmetric body as a sequence of values,
// separated by commas, line breaks, or blanks between two values on a line:
//   header value, N (the number of profile points), header value,
//   then N records: point number, x, r.
// An empty value counts as 0; a value that is discarded (a header value, a point number) may be
// any single value, text in double quotes too. Point numbers that are the numbers 1 to N in
// another order are refused: the records were swapped. A leading UTF-8 byte order mark is skipped.

#include <cstdio>
#include <string>
#include <vector>

#include "core/counts.h"
#include "core/model_state.h"
#include "core/progress.h"
#include "geometry/body_of_revolution.h"
#include "geometry/body_profile.h"

namespace tarvenol {

// Reads the profile of the file at path, which must be a regular file (or a link to one); a
// file that cannot be read, or whose values do not make a profile, is refused with a message
// naming the file and the place of the fault.
// Tells progress where it stands at Stage::Geometry 0 to 0.25, and throws Cancelled when asked
// to stop.
BodyProfile ReadBodyProfile(const std::string& path, double maxPoints, Progress& progress);
// The same from a file already open, named name in messages.
BodyProfile ReadBodyProfile(std::FILE* file, const std::string& name, double maxPoints,
                            Progress& progress);

// Reads the profile of BodyFile into xI and rI; when its point count differs from NI1, NI and
// NI1 follow the file. Nothing changes when the file is refused.
void ReadBodyFile(ModelState& s, BodyWork& w, Progress& progress);

// The same, never stopped.
inline BodyProfile ReadBodyProfile(const std::string& path, double maxPoints) {
  IgnoredProgress unwatched;
  return ReadBodyProfile(path, maxPoints, unwatched);
}
inline BodyProfile ReadBodyProfile(std::FILE* file, const std::string& name, double maxPoints) {
  IgnoredProgress unwatched;
  return ReadBodyProfile(file, name, maxPoints, unwatched);
}
inline void ReadBodyFile(ModelState& s, BodyWork& w) {
  IgnoredProgress unwatched;
  ReadBodyFile(s, w, unwatched);
}

// The largest point count a body file may give: the largest NI, plus one.
inline constexpr double kMaxBodyPoints = kMaxCount + 1;

}  // namespace tarvenol
