#include "results/solid_harmonics.h"

#include <cmath>

namespace tarvenol {

void RegularHarmonics(double x, double y, double z, int L, Complex* R) {
  const double r2 = x * x + y * y + z * z;
  const Complex xy(x, y);
  R[0] = 1;
  for (int l = 0; l < L; ++l) {
    R[HarmonicIndex(l + 1, l + 1)] = -xy / (2.0 * l + 2) * R[HarmonicIndex(l, l)];
    for (int m = 0; m <= l; ++m) {
      const Complex below = m <= l - 1 ? R[HarmonicIndex(l - 1, m)] : Complex(0);
      R[HarmonicIndex(l + 1, m)] = ((2.0 * l + 1) * z * R[HarmonicIndex(l, m)] - r2 * below) /
                                   static_cast<double>((l + m + 1) * (l - m + 1));
    }
  }
}

}  // namespace tarvenol
