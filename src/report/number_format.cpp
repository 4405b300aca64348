#include "report/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarvenol {
namespace {

constexpr int kSignificant = 15;

// Products |v| * 10^places below this are decided by the short way.
constexpr double kShortWayLimit = 1e6;
// The short way's product is off by at most 1.2e-10 units of the last place, and the 15-digit
// form moves a value by at most 0.5e-9 of them: nearer a half than this, only the digits decide.
constexpr double kNearHalf = 1e-9;
constexpr double kPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

char* Copy(char* out, std::string_view text) {
  return std::copy(text.begin(), text.end(), out);
}

}  // namespace

char* FormatNumberByDigits(char* out, double v, int places, char decimalSeparator) {
  if (std::isnan(v)) return Copy(out, "NaN");
  if (std::isinf(v)) return Copy(out, v < 0 ? "-Infinity" : "Infinity");
  if (v < 0) *out++ = '-';  // -0 is not negative and gets no sign
  const double magnitude = std::fabs(v);

  // The 15 significant digits d0.d1...d14 and the power of ten of d0.
  char digits[kSignificant] = {'0'};
  int exponent = 0;
  if (magnitude != 0) {
    char sci[40];
    const auto result = std::to_chars(sci, sci + sizeof sci, magnitude,
                                      std::chars_format::scientific, kSignificant - 1);
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, kSignificant - 1);
    // "d.dddddddddddddde+XX": the exponent's sign stands after the 'e'.
    const char* sign = sci + kSignificant + 2;
    std::from_chars(sign + (*sign == '+' ? 1 : 0), result.ptr, exponent);
  } else {
    std::memset(digits, '0', sizeof digits);
  }

  // Lay the digits out in fixed point, from 10^top down to 10^-places.
  const int top = exponent > 0 ? exponent : 0;
  const int length = top + 1 + places;
  char fixed[kMaxNumberText];
  std::memset(fixed, '0', static_cast<std::size_t>(length));
  const int kept = exponent + places + 1;  // digits of the 15 that fall within the places
  for (int k = 0; k < kSignificant && k < kept; ++k) fixed[top - exponent + k] = digits[k];

  // Halves away from zero: the first digit dropped decides.
  bool carry = kept >= 0 && kept < kSignificant && digits[kept] >= '5';
  for (int q = length - 1; carry && q >= 0; --q) {
    if (fixed[q] == '9') {
      fixed[q] = '0';
    } else {
      ++fixed[q];
      carry = false;
    }
  }
  if (carry) *out++ = '1';

  // Leading zeros go, but one integer digit stays; after a carry every digit follows the "1".
  int first = 0;
  while (!carry && first < top && fixed[first] == '0') ++first;
  const int integerEnd = top + 1;
  std::memcpy(out, fixed + first, static_cast<std::size_t>(integerEnd - first));
  out += integerEnd - first;

  *out++ = decimalSeparator;
  int fractionEnd = length;
  while (fractionEnd > integerEnd && fixed[fractionEnd - 1] == '0') --fractionEnd;
  const int fractionDigits = fractionEnd - integerEnd;
  std::memcpy(out, fixed + integerEnd, static_cast<std::size_t>(fractionDigits));
  out += fractionDigits;
  if (fractionDigits < places) *out++ = '0';
  return out;
}

namespace {

// "00" to "99", two characters each.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int n = 0; n < 100; ++n) {
    pairs[static_cast<std::size_t>(2 * n)] = static_cast<char>('0' + n / 10);
    pairs[static_cast<std::size_t>(2 * n + 1)] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

void TwoDigits(char* out, std::uint32_t n) {
  std::memcpy(out, &kDigitPairs[2 * n], 2);
}

// The short way for Places = 4 or 6: |v| * 10^Places is below kShortWayLimit and not within a
// hair of a half, so it rounds by itself. Constant places let the compiler divide by
// multiplying, and the text is laid down without a branch on its digits, which are as good as
// random in a matrix: a mispredicted branch costs more than writing a few characters.
template <int Places>
char* RoundedByItsScaledValue(char* out, bool negative, double whole, double fraction,
                              char decimalSeparator) {
  constexpr std::uint32_t kUnit = Places == 4 ? 10000 : 1000000;
  const auto rounded = static_cast<std::uint32_t>(whole) + (fraction > 0.5 ? 1u : 0u);
  *out = '-';
  out += negative ? 1 : 0;
  const std::uint32_t integer = rounded / kUnit;
  if (integer < 10) {
    *out++ = static_cast<char>('0' + integer);
  } else {
    out = std::to_chars(out, out + 8, integer).ptr;
  }
  *out++ = decimalSeparator;
  // The places' digits, trailing zeros dropped, but one "0" where they are not all used.
  std::uint32_t rest = rounded % kUnit;
  int zeros = 0;
  for (std::uint32_t power = 10; power <= kUnit; power *= 10) zeros += rest % power == 0 ? 1 : 0;
  for (int k = Places - 2; k >= 0; k -= 2, rest /= 100) TwoDigits(out + k, rest % 100);
  const int shown = Places - zeros;
  out += shown;
  *out = '0';
  return out + (shown < Places ? 1 : 0);
}

}  // namespace

char* FormatNumber(char* out, double v, int places, char decimalSeparator) {
  const double magnitude = std::fabs(v);
  const double scaled = magnitude * kPowersOfTen[places];
  // Small values, the most common in the report: the rounding is decided by the scaled value
  // itself unless it lies within a hair of a half.
  if (!(scaled < kShortWayLimit)) return FormatNumberByDigits(out, v, places, decimalSeparator);
  // Truncation is the floor here: scaled is neither negative nor above 2^32.
  const auto whole = static_cast<double>(static_cast<std::uint32_t>(scaled));
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) <= kNearHalf) {
    return FormatNumberByDigits(out, v, places, decimalSeparator);
  }
  if (places == 4) return RoundedByItsScaledValue<4>(out, v < 0, whole, fraction, decimalSeparator);
  return RoundedByItsScaledValue<6>(out, v < 0, whole, fraction, decimalSeparator);
}

}  // namespace tarvenol
