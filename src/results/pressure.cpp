#include "results/pressure.h"

#include <algorithm>
#include <cmath>

namespace tarvenol {

PressureAlongBody PressureOf(std::string body, int NI, int NJ, std::vector<PanelResult> panels,
                             const Array1& xI, const Array1& rI, int n) {
  PressureAlongBody p{std::move(body), NI, NJ, std::move(panels), SpheroidOfProfile(xI, rI, n), 0};
  if (p.spheroid) {
    for (const PanelResult& r : p.panels) {
      p.deviation =
          std::max(p.deviation, std::fabs(r.oneMinusCp - ExactOneMinusCp(*p.spheroid, r.xC)));
    }
  }
  return p;
}

}  // namespace tarvenol
