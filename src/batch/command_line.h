#pragma once
// The batch tool's command line: options, and the actions a user would take in the window, to
// be run in the order given. It is read whole before anything is done, so that a mistake
// anywhere in it leaves everything, the report included, as it was.

#include <string>
#include <vector>

namespace tarvenol {

struct BatchActionRow;

struct BatchAction {
  const BatchActionRow* row;        // in the table of batch actions
  std::vector<std::string> values;  // as many as the action takes
};

struct CommandLine {
  bool help = false;
  bool version = false;
  bool timings = false;
  std::vector<BatchAction> actions;
  std::string error;  // what cannot be followed; empty for a command line that can
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace tarvenol
