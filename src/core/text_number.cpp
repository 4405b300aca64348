#include "core/text_number.h"

#include "core/counts.h"
#include "core/program_error.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tarvenol {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// Power of ten of the leading digit of a plain decimal number: tells a number too large for
// a double from one too small, when the number itself cannot be held.
long DecimalExponent(std::string_view number) {
  std::size_t pos = 0;
  while (pos < number.size() && number[pos] == '0') ++pos;
  const std::size_t integerEnd = SkipDigits(number, pos);
  long magnitude = 0;
  std::size_t rest = integerEnd;
  if (integerEnd > pos) {
    magnitude = static_cast<long>(integerEnd - pos) - 1;
  } else if (rest < number.size() && number[rest] == '.') {
    std::size_t zeros = rest + 1;
    while (zeros < number.size() && number[zeros] == '0') ++zeros;
    magnitude = -static_cast<long>(zeros - rest);
  }
  if (rest < number.size() && number[rest] == '.') rest = SkipDigits(number, rest + 1);
  if (rest < number.size() && (number[rest] == 'e' || number[rest] == 'E')) {
    ++rest;
    const bool negative = rest < number.size() && number[rest] == '-';
    if (rest < number.size() && (number[rest] == '-' || number[rest] == '+')) ++rest;
    long exponent = 0;
    for (; rest < number.size() && exponent < 1'000'000'000L; ++rest) {
      exponent = exponent * 10 + (number[rest] - '0');
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude;
}

}  // namespace

std::optional<NumberPrefix> ReadNumberPrefix(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;

  std::size_t pos = start;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t mantissa = pos;
  std::size_t end = SkipDigits(text, pos);
  bool digits = end > mantissa;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction = end + 1;
    const std::size_t fractionEnd = SkipDigits(text, fraction);
    digits = digits || fractionEnd > fraction;
    end = fractionEnd;
  }
  if (!digits) return std::nullopt;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }

  // from_chars takes no leading '+' and reads ".5" and "5." alike, whatever the locale.
  double value = 0;
  const char* first = text.data() + mantissa;
  const char* last = text.data() + end;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    value = DecimalExponent(text.substr(mantissa, end - mantissa)) >= 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  } else if (ec != std::errc{} || ptr != last) {
    return std::nullopt;
  }
  return NumberPrefix{negative ? -value : value, end};
}

double TextToNumber(std::string_view text) {
  const auto number = ReadNumberPrefix(text);
  return number ? number->value : 0.0;
}

bool IsWholeCount(double value, double least, double most) {
  return std::isfinite(value) && value >= least && value <= most && value == std::floor(value);
}

void RequireWholeCount(double count, const char* name, double least) {
  if (IsWholeCount(count, least, kMaxCount)) return;
  char text[32];
  const std::string_view shown(text, std::to_chars(text, text + sizeof text, count).ptr);
  throw ProgramError(std::string(name) + " must be a whole number from " +
                     std::to_string(static_cast<long>(least)) + " to " +
                     std::to_string(static_cast<long>(kMaxCount)) + "; " + std::string(shown) +
                     " is not.");
}

std::optional<double> WholeTextNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view number = text.substr(first, text.find_last_not_of(' ') - first + 1);
  const std::optional<NumberPrefix> read = ReadNumberPrefix(number);
  if (!read || read->length != number.size()) return std::nullopt;
  return read->value;
}

}  // namespace tarvenol
