#include "field/flow_picture.h"

#include <cstdio>

namespace tarvenol {

FlowPicture PictureOf(const FieldGrid& grid, const Incidence& a, const std::string& body, int NI,
                      int NJ) {
  FlowPicture picture;
  char angle[32];
  std::snprintf(angle, sizeof angle, "%g", a.degrees);
  picture.title = "Flow around " + body + ", " + std::to_string(NI) + " × " + std::to_string(NJ) +
                  " panels, at " + angle + "°";
  picture.field = FieldAt(grid, a);
  picture.streamlines = TraceStreamlines(picture.field);
  return picture;
}

}  // namespace tarvenol
