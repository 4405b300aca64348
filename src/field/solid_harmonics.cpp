#include "field/solid_harmonics.h"

#include <array>

namespace tarvenol {

const double* RegularDivisors() {
  static const std::array<double, HarmonicCount(kMaxHarmonicDegree)> divisors = [] {
    std::array<double, HarmonicCount(kMaxHarmonicDegree)> d{};
    for (int l = 0; l <= kMaxHarmonicDegree; ++l) {
      for (int m = 0; m <= l; ++m) {
        d[static_cast<std::size_t>(HarmonicIndex(l, m))] = 1.0 / ((l + m + 1) * (l - m + 1));
      }
    }
    return d;
  }();
  return divisors.data();
}

void FullHarmonics(const double* re, const double* im, int L, double* fullRe, double* fullIm) {
  for (int l = 0; l <= L; ++l) {
    for (int m = 0; m <= l; ++m) {
      const double r = re[HarmonicIndex(l, m)], i = im[HarmonicIndex(l, m)];
      fullRe[FullIndex(l, m)] = r;
      fullIm[FullIndex(l, m)] = i;
      // h_l,-m = (-1)^m conj(h_lm)
      const double sign = m % 2 != 0 ? -1 : 1;
      fullRe[FullIndex(l, -m)] = sign * r;
      fullIm[FullIndex(l, -m)] = -sign * i;
    }
  }
}

}  // namespace tarvenol
