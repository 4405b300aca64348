#include "results/forces.h"

#include <cmath>

#include "geometry/panel_outline.h"

namespace tarvenol {

PressureForces ForcesAt(const ModelState& s, const HessSolution& solution, const Incidence& a,
                        const Vector3& reference) {
  const FlowSolution& axial = solution.flows[kAxialStream];
  const FlowSolution& across = solution.flows[kTransverseStream];
  Array2 Cp(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  for (int i = 1; i <= LoopEnd(s.NI); ++i) {
    for (int j = 1; j <= LoopEnd(s.NJ); ++j) {
      const double ut = a.cosA * axial.Ut(i, j) + a.sinA * across.Ut(i, j);
      const double vt = a.cosA * axial.Vt(i, j) + a.sinA * across.Vt(i, j);
      Cp(i, j) = 1 - (ut * ut + vt * vt);
    }
  }
  return ForcesOfPressure(s, Cp, a.degrees, reference);
}

PressureForces ForcesOfPressure(const ModelState& s, const Array2& Cp, double alphaDegrees,
                                const Vector3& reference) {
  PressureForces out;
  out.alphaDegrees = alphaDegrees;
  out.reference = reference;
  for (int i = 1; i <= LoopEnd(s.NI); ++i) {
    for (int j = 1; j <= LoopEnd(s.NJ); ++j) {
      const double pressureArea = -Cp(i, j) * OutlineArea(OutlineOfPanel(s, i, j));
      const double n[3] = {s.ZtaX(i, j), s.ZtaY(i, j), s.ZtaZ(i, j)};
      const double r[3] = {s.xC(i, j) - reference[0], s.yC(i, j) - reference[1],
                           s.zC(i, j) - reference[2]};
      for (std::size_t c = 0; c < 3; ++c) out.force[c] += pressureArea * n[c];
      out.moment[0] += pressureArea * (r[1] * n[2] - r[2] * n[1]);
      out.moment[1] += pressureArea * (r[2] * n[0] - r[0] * n[2]);
      out.moment[2] += pressureArea * (r[0] * n[1] - r[1] * n[0]);
    }
  }
  return out;
}

double ForceCoefficient(double force, const BodyFigures& f) {
  return force / std::pow(std::fabs(f.volume), 2.0 / 3);
}

double MomentCoefficient(double moment, const BodyFigures& f) {
  return moment / std::fabs(f.volume);
}

double MunkMomentCoefficient(const Spheroid& s, const Incidence& a) {
  return 2 * (s.k2 - s.k1) * a.sinA * a.cosA;
}

}  // namespace tarvenol
