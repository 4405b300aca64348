#include "batch/command_line.h"

#include <strings.h>

#include <algorithm>
#include <string_view>

#include "batch/batch_actions.h"
#include "core/shown_text.h"
#include "core/text_number.h"

namespace tarvenol {

namespace {

// A value that reads as a number, or as infinity or NaN would: "-1e3", "-inf", "NaN".
bool LooksLikeANumber(std::string_view text) {
  if (ReadNumberPrefix(text)) return true;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const auto starts = [&](const char* word) {
    return text.size() >= 3 && strncasecmp(text.data(), word, 3) == 0;
  };
  return starts("inf") || starts("nan");
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (std::size_t a = 0; a < args.size() && line.error.empty(); ++a) {
    const std::string& arg = args[a];
    if (arg == "-h" || arg == "--help") {
      line.help = true;
      continue;
    }
    if (arg == "--version") {
      line.version = true;
      continue;
    }
    if (arg == "--timings") {
      line.timings = true;
      continue;
    }
    const BatchActionRow* action = BatchActionNamed(arg);
    if (action == nullptr) {
      line.error = LooksLikeANumber(arg)    ? "a value, " + Shown(arg) + ", where an action belongs"
                   : arg.rfind('-', 0) == 0 ? "unknown option " + Shown(arg)
                                            : "unknown action " + Shown(arg);
      break;
    }
    if (args.size() - a - 1 < action->values) {
      line.error = "'" + arg + "' needs " + action->what;
      break;
    }
    BatchAction taken{action,
                      {args.begin() + static_cast<std::ptrdiff_t>(a) + 1,
                       args.begin() + static_cast<std::ptrdiff_t>(a + 1 + action->values)}};
    a += action->values;
    if (action->optionalNumbers > 0 && a + 1 < args.size() && LooksLikeANumber(args[a + 1])) {
      if (args.size() - a - 1 < action->optionalNumbers) {
        line.error = "'" + arg + "' takes " + std::to_string(action->optionalNumbers) +
                     " numbers after its path, or none";
        break;
      }
      taken.values.insert(
          taken.values.end(), args.begin() + static_cast<std::ptrdiff_t>(a) + 1,
          args.begin() + static_cast<std::ptrdiff_t>(a + 1 + action->optionalNumbers));
      a += action->optionalNumbers;
    }
    if (action->optionalWord && a + 1 < args.size() && args[a + 1].rfind('-', 0) != 0 &&
        BatchActionNamed(args[a + 1]) == nullptr) {
      taken.values.push_back(args[++a]);
    }
    if (std::any_of(taken.values.begin(),
                    taken.values.begin() + static_cast<std::ptrdiff_t>(action->paths),
                    [](const std::string& v) { return v.empty(); })) {
      line.error = "'" + arg + "' needs a path, not an empty text";
    }
    line.actions.push_back(std::move(taken));
  }
  return line;
}

}  // namespace tarvenol
