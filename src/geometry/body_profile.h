#pragma once
// A meridian profile given as its points, nose first: as a body file gives it, as a hull family
// builds it and as resampling makes it.

#include <vector>

namespace tarvenol {

struct BodyProfile {
  std::vector<double> x;
  std::vector<double> r;
};

}  // namespace tarvenol
