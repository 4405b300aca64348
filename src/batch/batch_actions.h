#pragma once
// The table of batch actions: every action the batch tool knows, one row each, with its values,
// its help text, what it needs of the run and its handler. The usage text (and the manual page
// made from it), the command line's parser, the run's dispatch, the fuzz checks and the files
// test all read this table. A new action is one row in batch_actions.cpp and its handler.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace tarvenol {

class BatchSession;

using ActionValues = std::vector<std::string>;

struct BatchActionRow {
  const char* name;
  // The values that always follow the name, and how a message calls them: "a path".
  std::size_t values;
  const char* what;
  // The first `paths` of them are paths, which may not be empty texts.
  std::size_t paths;
  // Numbers that may follow the others, all of them or none: taken when the first is a number.
  std::size_t optionalNumbers;
  // The value that names the file the action writes, or -1 for an action that writes none.
  int writes;
  // Whether the action draws charts (Qt's widgets, drawn off any screen): never, always, or for
  // a name of the written file that ends in .png or .svg.
  enum class Charts { Never, Always, ForPictureName } charts;
  // Its lines in the usage text, as they are printed.
  const char* help;
  void (*handler)(BatchSession& session, const ActionValues& values);
  // A word that may follow the values: taken when the next argument is neither an action nor an
  // option, and judged by the handler, which then gets it as its last value.
  bool optionalWord = false;
};

std::span<const BatchActionRow> BatchActions();

// The row of the action of that name, or nullptr.
const BatchActionRow* BatchActionNamed(const std::string& name);

// Whether an action with these values draws charts.
bool DrawsCharts(const BatchActionRow& row, const ActionValues& values);

// The text --help prints.
std::string BatchUsage();

}  // namespace tarvenol
