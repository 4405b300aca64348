#include "fuzz_checks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_actions.h"
#include "batch/command_line.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "geometry/body_file.h"
#include "report/number_format.h"
#include "field/points_table.h"

namespace tarvenol::fuzz {
namespace {

[[noreturn]] void Broken(const char* what, const std::string& detail) {
  std::fprintf(stderr, "broken: %s: %s\n", what, detail.c_str());
  std::abort();
}

void Require(bool holds, const char* what, const std::string& detail = {}) {
  if (!holds) Broken(what, detail);
}

// The C library's reading of a plain decimal number, in the C locale it starts in.
double Strtod(const std::string& text) {
  return std::strtod(text.c_str(), nullptr);
}

}  // namespace

void CheckBodyFile(const std::uint8_t* data, std::size_t size) {
  // fmemopen cannot open an empty buffer; a file of length 0 is tested on its own.
  if (size == 0) return;
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  Require(file != nullptr, "fmemopen");
  try {
    const BodyProfile profile = ReadBodyProfile(file, "fuzz.body", 1e5);
    Require(profile.x.size() == profile.r.size(), "one x for each r");
    Require(profile.x.size() >= 3, "at least three points");
    for (std::size_t k = 0; k < profile.x.size(); ++k) {
      Require(std::isfinite(profile.x[k]) && std::isfinite(profile.r[k]), "finite points");
    }
  } catch (const ProgramError& e) {
    Require(std::string_view(e.what()).rfind("The body file \"fuzz.body\" ", 0) == 0,
            "a refusal names the file", e.what());
  }
  std::fclose(file);
}

void CheckPointsTable(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  Require(file != nullptr, "fmemopen");
  IgnoredProgress unseen;
  try {
    const std::vector<Vector3> points = ReadProbePoints(file, "fuzz.csv", unseen);
    Require(!points.empty(), "at least one point");
    for (const Vector3& p : points) {
      Require(std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]), "finite points");
    }
  } catch (const ProgramError& e) {
    const std::string_view message = e.what();
    Require(message.rfind("The points cannot be read from \"fuzz.csv\": ", 0) == 0,
            "a refusal names the file", e.what());
    Require(message.size() < 300, "a short message", e.what());
    Require(Shown(message, std::string::npos) == "\"" + std::string(message) + "\"",
            "a printable message", e.what());
  }
  std::fclose(file);
}

void CheckTextNumber(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto number = ReadNumberPrefix(text);
  const double value = TextToNumber(text);
  if (!number) {
    Require(value == 0, "no number reads as 0", text);
    return;
  }
  Require(number->length <= text.size(), "the prefix lies within the text", text);
  Require(!std::isnan(number->value), "a number is never NaN", text);
  Require(value == number->value, "both readings agree", text);
  // The prefix alone reads the same, and as the C library reads it (it skips the same blanks).
  const std::string prefix = text.substr(0, number->length);
  Require(TextToNumber(prefix) == value, "the prefix alone gives the same number", text);
  if (std::isfinite(value) && value != 0) {
    Require(Strtod(prefix) == value, "the number is read exactly", text);
  }
}

void CheckNumberFormat(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double) + 1) return;
  double v;
  std::memcpy(&v, data, sizeof v);
  const int places = data[sizeof v] % 2 == 0 ? 4 : 6;
  char text[kMaxNumberText + 1];
  char* end = FormatNumber(text, v, places, '.');
  Require(end > text && end <= text + kMaxNumberText, "the text fits");
  *end = '\0';
  const std::string formatted(text);
  if (std::isnan(v) || std::isinf(v)) return;

  Require((formatted[0] == '-') == (v < 0), "a sign exactly for negative values", formatted);
  const std::size_t point = formatted.find('.');
  Require(point != std::string::npos, "a decimal point", formatted);
  const std::size_t fraction = formatted.size() - point - 1;
  Require(fraction >= 1 && fraction <= static_cast<std::size_t>(places), "1 to all places",
          formatted);
  Require(formatted.find_first_not_of("-0123456789.") == std::string::npos, "plain digits",
          formatted);
  Require(
      formatted.size() - point - 1 == static_cast<std::size_t>(places) || formatted.back() == '0',
      "a fraction that does not fill its places ends in 0", formatted);
  if (std::fabs(v) < 1e15) {
    // Within half a unit of the last place, plus what the 15-digit form may move it.
    const double unit = std::pow(10.0, -places);
    const double slack = 0.5 * unit + std::fabs(v) * 1e-14 + 1e-300;
    Require(std::fabs(Strtod(formatted) - v) <= slack, "close to the value", formatted);
  }
}

void CheckCommandLine(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t k = 0; k < size; ++k) {
    if (data[k] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[k]));
    }
  }
  const CommandLine line = ParseCommandLine(args);
  if (!line.error.empty()) {
    Require(Shown(line.error, std::string::npos) == "\"" + line.error + "\"", "a printable message",
            line.error);
    Require(line.error.size() < 200, "a short message", line.error);
    return;
  }
  std::size_t taken = 0;
  for (const BatchAction& action : line.actions) {
    // As many values as its row says, the optional numbers all or none, and the optional word;
    // no path empty.
    const BatchActionRow& row = *action.row;
    const std::size_t count =
        action.values.size() - (row.optionalWord && action.values.size() > row.values ? 1 : 0);
    Require(count == row.values || count == row.values + row.optionalNumbers,
            "an action has its values");
    for (std::size_t k = 0; k < row.paths; ++k) {
      Require(!action.values[k].empty(), "a path is not empty");
    }
    taken += 1 + count;
  }
  Require(taken <= args.size(), "no argument taken twice");
}

}  // namespace tarvenol::fuzz
