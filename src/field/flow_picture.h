#pragma once
// What the picture of the flow around the body shows at an angle of attack: the field in the
// plane of the stream, its streamlines and the body's section, with the words of its title.

#include <string>
#include <vector>

#include "field/field_grid.h"
#include "field/streamlines.h"

namespace tarvenol {

struct FlowPicture {
  std::string title;
  FieldAtIncidence field;
  std::vector<Streamline> streamlines;
};

// body names the body as a title shows it ("the sphere").
FlowPicture PictureOf(const FieldGrid& grid, const Incidence& a, const std::string& body, int NI,
                      int NJ);

}  // namespace tarvenol
