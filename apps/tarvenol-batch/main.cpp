// tarvenol-batch: the operations a user drives in the window, taken from the command line
// in order, with the report written to Tarvenol.txt in the working directory.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "batch/batch_actions.h"
#include "batch/batch_run.h"
#include "batch/command_line.h"
#include "core/standard_streams.h"

int main(int argc, char** argv) {
  using namespace tarvenol;
  OpenClosedStandardStreams();
  const CommandLine line = ParseCommandLine({argv + 1, argv + argc});
  if (!line.error.empty()) {
    std::fprintf(stderr, "tarvenol-batch: %s\n%s", line.error.c_str(), BatchUsage().c_str());
    return 2;
  }
  if (line.help || line.version) {
    std::fputs(line.help ? BatchUsage().c_str() : "tarvenol-batch " TARVENOL_VERSION "\n", stdout);
    if (std::fflush(stdout) != 0) {
      std::fprintf(stderr, "tarvenol-batch: standard output cannot be written: %s.\n",
                   std::strerror(errno));
      return 1;
    }
    return 0;
  }
  return RunBatch(line);
}
