#include "results/pressure.h"

#include <algorithm>
#include <cmath>

#include "results/goethert.h"

namespace tarvenol {

PressureAlongBody PressureOf(std::string body, int NI, int NJ, std::vector<PanelResult> panels,
                             const Array1& xI, const Array1& rI, int n, const Incidence& a) {
  PressureAlongBody p{
      std::move(body), NI, NJ, std::move(panels), SpheroidOfProfile(xI, rI, n), 0, a, 0, 0, {}};
  // The meridians whose panels point most nearly along -y and +y, the plane of the stream.
  double least = HUGE_VAL, most = -HUGE_VAL;
  for (const PanelResult& r : p.panels) {
    if (r.i != (NI + 1) / 2) continue;
    const double towardY = r.yC / std::hypot(r.yC, r.zC);
    if (towardY < least) {
      least = towardY;
      p.windward = r.j;
    }
    if (towardY > most) {
      most = towardY;
      p.leeward = r.j;
    }
  }
  // The stream comes from below, and meets the -y side, when it rises.
  if (a.sinA < 0) std::swap(p.windward, p.leeward);
  if (p.spheroid) {
    for (const PanelResult& r : p.panels) {
      const double exact = a.degrees == 0 ? ExactOneMinusCp(*p.spheroid, r.xC)
                                          : ExactOneMinusCpAtIncidence(*p.spheroid, a.cosA, a.sinA,
                                                                       r.xC, r.yC, r.zC);
      p.deviation = std::max(p.deviation, std::fabs(r.oneMinusCp - exact));
    }
  }
  return p;
}

void TakeMach(PressureAlongBody& p, MachAlongBody m) {
  if (p.spheroid) {
    p.deviation = 0;
    for (const PanelResult& r : p.panels) {
      const double exact = ExactCpAtMach(*p.spheroid, p.incidence, m.setting, r.xC, r.yC, r.zC);
      p.deviation = std::max(p.deviation, std::fabs(r.Cp - exact));
    }
  }
  p.mach = std::move(m);
}

}  // namespace tarvenol
