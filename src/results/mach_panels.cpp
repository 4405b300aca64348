#include "results/mach_panels.h"

#include <cmath>

#include "geometry/panel_outline.h"
#include "results/compressibility.h"

namespace tarvenol {

std::vector<PanelResult> PanelResultsAtMach(const ModelState& s, const AffineBody& affine,
                                            const PressureAtMach& pressure) {
  const Incidence& a = pressure.incidence;
  const double beta = affine.beta;
  const Incidence stream = AffineIncidence(a, beta);
  // The affine body's results are in its unit stream; the rule's stream is (cos a, beta sin a).
  const double speed = std::hypot(a.cosA, beta * a.sinA);
  std::vector<PanelResult> results =
      PanelResults(affine.s, SolutionAtIncidence(affine.solution, stream));
  for (PanelResult& r : results) {
    const double u = speed * (r.Vx - stream.cosA);
    const double v = speed * (r.Vy - stream.sinA);
    const double w = speed * r.Vz;
    r.xC = s.xC(r.i, r.j);
    r.yC = s.yC(r.i, r.j);
    r.zC = s.zC(r.i, r.j);
    r.Vx = a.cosA + u / (beta * beta);
    r.Vy = a.sinA + v / beta;
    r.Vz = w / beta;
    r.Cp = pressure.Cp(r.i, r.j);
    r.oneMinusCp = pressure.OneMinusCp(r.i, r.j);
    // The body's own: the affine panels are beta times narrower around it.
    r.area = OutlineArea(OutlineOfPanel(s, r.i, r.j));
  }
  return results;
}

MachAlongBody MachAlongBodyOf(const PressureAtMach& pressure,
                              const std::vector<PanelResult>& incompressible) {
  MachAlongBody m{pressure.setting,
                  pressure.beta,
                  pressure.CpStar,
                  pressure.CpMin,
                  pressure.xCpMin,
                  pressure.supersonic,
                  {}};
  m.planarCp.reserve(incompressible.size());
  for (const PanelResult& r : incompressible)
    m.planarCp.push_back(PlanarPrandtlGlauert(r.Cp, pressure.setting.mach));
  return m;
}

}  // namespace tarvenol
