#pragma once
// Scaled solid harmonics, the terms of the multipole expansion of 1 / |r - a|:
//   1 / |r - a| = sum over l >= 0, m = -l..l of conj(R_lm(a)) I_lm(r), for |a| < |r|,
// with R_l,-m = (-1)^m conj(R_lm) and the same for I. R_lm(a) is a polynomial of degree l,
// I_lm(r) falls off as 1 / |r|^(l + 1), and the regular ones translate as
//   R_lm(a + b) = sum over j = 0..l, k = -j..j of R_jk(a) R_l-j,m-k(b).
// Built by the recurrences of Helgaker, Jorgensen and Olsen (Molecular Electronic-Structure
// Theory, 9.13); the derivatives of the irregular ones are
//   dI_lm/dz = -I_l+1,m,  dI_lm/dx = (I_l+1,m+1 - I_l+1,m-1) / 2,
//   dI_lm/dy = -i (I_l+1,m+1 + I_l+1,m-1) / 2.

#include <cmath>
#include <complex>

namespace tarvenol {

using Complex = std::complex<double>;

// Harmonics with m >= 0 are kept for l = 0..L, in the order (0,0), (1,0), (1,1), (2,0), ...
inline constexpr int HarmonicIndex(int l, int m) {
  return l * (l + 1) / 2 + m;
}
inline constexpr int HarmonicCount(int L) {
  return (L + 1) * (L + 2) / 2;
}

// The highest degree of the regular harmonics.
inline constexpr int kMaxHarmonicDegree = 40;

// 1 / ((l + m + 1)(l - m + 1)) at HarmonicIndex(l, m), the divisors of the recurrence of R.
const double* RegularDivisors();

// R_lm(x, y, z) for l = 0..L <= kMaxHarmonicDegree, split into real and imaginary parts. The
// loops over m run as vectors.
[[gnu::always_inline]] inline void RegularHarmonics(double x, double y, double z, int L,
                                                    const double* __restrict divisors,
                                                    double* __restrict re, double* __restrict im) {
  const double r2 = x * x + y * y + z * z;
  re[0] = 1;
  im[0] = 0;
  for (int l = 0; l < L; ++l) {
    const double* reL = re + HarmonicIndex(l, 0);
    const double* imL = im + HarmonicIndex(l, 0);
    double* reUp = re + HarmonicIndex(l + 1, 0);
    double* imUp = im + HarmonicIndex(l + 1, 0);
    const double* divisor = divisors + HarmonicIndex(l, 0);
    // R_l+1,l+1 = -(x + i y) / (2l + 2) R_ll
    const double f = -1 / (2.0 * l + 2);
    reUp[l + 1] = f * (x * reL[l] - y * imL[l]);
    imUp[l + 1] = f * (x * imL[l] + y * reL[l]);
    // R_l+1,m = ((2l + 1) z R_lm - r^2 R_l-1,m) / ((l + m + 1)(l - m + 1)), with no R_l-1,l
    const double zl = (2.0 * l + 1) * z;
    if (l > 0) {
      const double* reDown = re + HarmonicIndex(l - 1, 0);
      const double* imDown = im + HarmonicIndex(l - 1, 0);
      for (int m = 0; m < l; ++m) {
        reUp[m] = (zl * reL[m] - r2 * reDown[m]) * divisor[m];
        imUp[m] = (zl * imL[m] - r2 * imDown[m]) * divisor[m];
      }
    }
    reUp[l] = zl * reL[l] * divisor[l];
    imUp[l] = zl * imL[l] * divisor[l];
  }
}

// I_lm(x, y, z) for l = 0..L, split into real and imaginary parts; (x, y, z) must not be 0.
// Inline, so that each vector path of its callers gets its own; the loops over m run as vectors.
[[gnu::always_inline]] inline void IrregularHarmonics(double x, double y, double z, int L,
                                                      double* __restrict re,
                                                      double* __restrict im) {
  const double inverse2 = 1 / (x * x + y * y + z * z);
  re[0] = std::sqrt(inverse2);
  im[0] = 0;
  for (int l = 0; l < L; ++l) {
    const double* reL = re + HarmonicIndex(l, 0);
    const double* imL = im + HarmonicIndex(l, 0);
    double* reUp = re + HarmonicIndex(l + 1, 0);
    double* imUp = im + HarmonicIndex(l + 1, 0);
    // I_l+1,l+1 = -(2l + 1) (x + i y) / r^2 I_ll
    const double f = -(2.0 * l + 1) * inverse2;
    reUp[l + 1] = f * (x * reL[l] - y * imL[l]);
    imUp[l + 1] = f * (x * imL[l] + y * reL[l]);
    // I_l+1,m = ((2l + 1) z I_lm - (l^2 - m^2) I_l-1,m) / r^2, with no I_l-1,l
    const double zl = (2.0 * l + 1) * z;
    if (l > 0) {
      const double* reDown = re + HarmonicIndex(l - 1, 0);
      const double* imDown = im + HarmonicIndex(l - 1, 0);
      for (int m = 0; m < l; ++m) {
        const double c = static_cast<double>(l * l - m * m);
        reUp[m] = (zl * reL[m] - c * reDown[m]) * inverse2;
        imUp[m] = (zl * imL[m] - c * imDown[m]) * inverse2;
      }
    }
    reUp[l] = zl * reL[l] * inverse2;
    imUp[l] = zl * imL[l] * inverse2;
  }
}

// A kept set, or a set of coefficients of the same symmetry, with every m = -l..l: entry
// (l, m) at l^2 + l + m, in full[0] (real parts) and full[1] (imaginary parts).
inline constexpr int FullIndex(int l, int m) {
  return l * l + l + m;
}
inline constexpr int FullCount(int L) {
  return (L + 1) * (L + 1);
}
void FullHarmonics(const double* re, const double* im, int L, double* fullRe, double* fullIm);

}  // namespace tarvenol
