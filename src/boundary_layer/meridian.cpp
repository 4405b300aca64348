#include "boundary_layer/meridian.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvenol {

BodyMeasures MeasuresOfProfile(const std::vector<double>& x, const std::vector<double>& r) {
  BodyMeasures m;
  if (x.empty()) return m;
  m.xNose = x.front();
  m.length = x.back() - x.front();
  double widest = 0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    widest = std::max(widest, std::fabs(r[k]));
    if (k == 0) continue;
    const double a = std::fabs(r[k - 1]), b = std::fabs(r[k]), dx = x[k] - x[k - 1];
    m.wettedArea += std::numbers::pi * (a + b) * std::hypot(dx, b - a);
    m.volume += std::numbers::pi / 3 * dx * (a * a + a * b + b * b);
  }
  m.frontalArea = std::numbers::pi * widest * widest;
  return m;
}

}  // namespace tarvenol
