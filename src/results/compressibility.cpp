#include "results/compressibility.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/program_error.h"
#include "core/shown_text.h"

namespace tarvenol {

void RequireSubsonicMach(double mach) {
  if (!std::isfinite(mach)) {
    throw ProgramError("The Mach number must be a finite number, at least 0 and below 1.");
  }
  if (mach < 0) {
    throw ProgramError("The Mach number " + ShownNumber(mach, 6) +
                       " is below 0: it must be at least 0.");
  }
  if (mach >= 1) {
    throw ProgramError("The Mach number " + ShownNumber(mach, 6) +
                       " is not below 1: the rules of subsonic flow hold only below the speed "
                       "of sound.");
  }
}

double BetaOfMach(double mach) {
  return std::sqrt(1 - mach * mach);
}

double SonicPressureCoefficient(double mach) {
  if (mach == 0) return -std::numeric_limits<double>::infinity();
  const double m2 = mach * mach;
  const double ratio = (2 + (kGamma - 1) * m2) / (kGamma + 1);
  return 2 / (kGamma * m2) * (std::pow(ratio, kGamma / (kGamma - 1)) - 1);
}

double VacuumPressureCoefficient(double mach) {
  return -2 / (kGamma * mach * mach);
}

double KarmanTsien(double cpIncompressible, double mach) {
  const double beta = BetaOfMach(mach);
  const double denominator = beta + mach * mach / (1 + beta) * cpIncompressible / 2;
  if (!(denominator > 0)) return -std::numeric_limits<double>::infinity();
  return cpIncompressible / denominator;
}

double PlanarPrandtlGlauert(double cpIncompressible, double mach) {
  return cpIncompressible / BetaOfMach(mach);
}

double IsentropicSpeed(double Cp, double mach) {
  if (mach == 0) return std::sqrt(1 - Cp);
  const double m2 = mach * mach;
  const double pressureRatio = 1 + kGamma * m2 * Cp / 2;
  // 1 - T / T_inf, from the logarithms so that small Mach numbers keep their digits.
  const double cooling =
      pressureRatio > 0 ? -std::expm1((kGamma - 1) / kGamma * std::log1p(kGamma * m2 * Cp / 2)) : 1;
  // Linear theory may put a pressure near a stagnation point above the stagnation pressure of
  // the gas, where no speed is real: the gas is at rest there.
  return std::sqrt(std::max(0.0, 1 + 2 * cooling / ((kGamma - 1) * m2)));
}

}  // namespace tarvenol
