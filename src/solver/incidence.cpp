#include "solver/incidence.h"

#include <cmath>
#include <numbers>

namespace tarvenol {

Incidence IncidenceOf(double degrees) {
  Incidence a;
  a.degrees = degrees;
  if (degrees == 0) return a;
  if (std::fabs(degrees) == 90) {
    a.cosA = 0;
    a.sinA = degrees > 0 ? 1 : -1;
    return a;
  }
  const double radians = degrees * std::numbers::pi / 180;
  a.cosA = std::cos(radians);
  a.sinA = std::sin(radians);
  return a;
}

Array2 Superposed(const Array2& axial, const Array2& transverse, const Incidence& a) {
  Array2 sum(axial.Limit(0), axial.Limit(1));
  for (std::size_t i = 1; i <= axial.Limit(0); ++i) {
    for (std::size_t j = 1; j <= axial.Limit(1); ++j) {
      // At 0 degrees exactly the axial value: 1 * v + 0 * w is v.
      sum(i, j) = a.cosA * axial(i, j) + a.sinA * transverse(i, j);
    }
  }
  return sum;
}

FlowSolution SolutionAtIncidence(const HessSolution& solution, const Incidence& a) {
  const FlowSolution& axial = solution.flows[kAxialStream];
  const FlowSolution& across = solution.flows[kTransverseStream];
  return {Superposed(axial.Sigma, across.Sigma, a), Superposed(axial.Ut, across.Ut, a),
          Superposed(axial.Vt, across.Vt, a)};
}

}  // namespace tarvenol
