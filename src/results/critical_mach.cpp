#include "results/critical_mach.h"

#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>

#include "results/compressibility.h"

namespace tarvenol {
namespace {

// The Mach numbers the closed-form bounds are sought between.
constexpr double kLeastMach = 1e-6;
constexpr double kLargestMach = 1 - 1e-12;
constexpr int kMaxSteps = 60;

// The rule's Cp (Göthert's alone) at which the rule's pressure is sonic.
double SonicRulePressure(double mach, PressureRule rule) {
  const double sonic = SonicPressureCoefficient(mach);
  if (rule == PressureRule::Goethert) return sonic;
  const double beta = BetaOfMach(mach);
  return sonic / (1 - mach * mach * sonic / (2 * (1 + beta)));
}

// Bisection for the Mach number where the closed form h, positive at small M and negative near
// 1, changes sign.
template <class H>
double ClosedFormRoot(const H& h) {
  double lo = kLeastMach, hi = kLargestMach;
  for (int step = 0; step < kMaxSteps; ++step) {
    const double mid = (lo + hi) / 2;
    (h(mid) > 0 ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

}  // namespace

CriticalMach CriticalMachOf(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                            const Incidence& a, PressureRule rule, Progress& progress) {
  CriticalMach out;
  const double cp0 = PressureFromSolution(s, solution, a, {}, 1).CpMin;
  if (!(cp0 < 0)) return out;
  const auto sonic = [rule](double mach) { return SonicRulePressure(mach, rule); };
  double lo = ClosedFormRoot([&](double m) { return cp0 / (1 - m * m) - sonic(m); });
  double hi = ClosedFormRoot([&](double m) { return cp0 - sonic(m); });

  // The rule's lowest Cp less the sonic one: positive below the critical Mach number.
  const auto margin = [&](double mach) {
    ++out.solves;
    const double beta = BetaOfMach(mach);
    const AffineBody affine = SolveAffineBody(s, body, beta, progress);
    return PressureFromSolution(s, affine.solution, a, {mach}, beta).CpMin - sonic(mach);
  };
  double atLo = margin(lo), atHi = 0;
  bool hiKnown = false;
  while (atLo < 0) {
    hi = lo;
    atHi = atLo;
    hiKnown = true;
    lo /= 2;
    atLo = margin(lo);
  }
  if (!hiKnown) atHi = margin(hi);
  while (atHi > 0) {
    const double beta = BetaOfMach(hi) / 2;
    if (beta < kLeastBeta) return out;
    lo = hi;
    atLo = atHi;
    hi = std::sqrt(1 - beta * beta);
    atHi = margin(hi);
  }
  std::uintmax_t steps = kMaxSteps;
  const auto bracket = boost::math::tools::toms748_solve(
      margin, lo, hi, atLo, atHi,
      [](double x, double y) { return std::fabs(y - x) <= kCriticalMachTolerance; }, steps);
  out.mach = (bracket.first + bracket.second) / 2;
  return out;
}

MachResults MachResultsOf(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                          const Incidence& a, const MachSetting& m, Progress& progress) {
  MachResults out;
  out.atMach = PressureAtMachOf(s, body, solution, a, m, progress);
  out.critical = CriticalMachOf(s, body, solution, a, m.rule, progress);
  return out;
}

}  // namespace tarvenol
