#pragma once
// How the program reads a number from a text box: the number the text begins with
// (leading blanks skipped, a full stop as decimal point, an exponent allowed), and 0
// when the text does not begin with a number. The process locale plays no part.

#include <optional>
#include <string_view>

namespace tarvenol {

double TextToNumber(std::string_view text);

// The number a text begins with, and how many characters it took; nothing when the
// text does not begin with a number. A number too large for a double reads as infinity.
struct NumberPrefix {
  double value = 0;
  std::size_t length = 0;
};
std::optional<NumberPrefix> ReadNumberPrefix(std::string_view text);

// The number a whole text is, blanks around it allowed; nothing for any other text.
std::optional<double> WholeTextNumber(std::string_view text);

}  // namespace tarvenol
