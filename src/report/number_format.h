#pragma once
// Internal to the report library: only its own files and its tests include it.
// The report's number patterns "#0.###0", "0.###0" and "#0.#####0": the value rounded to
// 4 or 6 decimal places, halves away from zero, on its decimal form of 15 significant
// digits; a leading "-" for every negative value, even one that rounds to zero; trailing
// zeros of the fraction dropped but one "0" kept where the places are not all used.

#include <cstddef>

namespace tarvenol {

// The longest text FormatNumber writes: 309 integer digits, sign, point, 6 places.
inline constexpr std::size_t kMaxNumberText = 320;

// Writes v into out (at least kMaxNumberText bytes) and returns the end of what it wrote.
char* FormatNumber(char* out, double v, int places, char decimalSeparator);

// The same, always by way of the 15 significant digits. FormatNumber takes a shorter way for
// the small values that make up most of the report, and this one where that way cannot decide.
char* FormatNumberByDigits(char* out, double v, int places, char decimalSeparator);

}  // namespace tarvenol
