// tarvenol-batch: the operations a user drives in the window, taken from the command line
// in order, with the report written to Tarvenol.txt in the working directory.

#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "batch/command_line.h"
#include "core/standard_streams.h"

int main(int argc, char** argv) {
  using namespace tarvenol;
  OpenClosedStandardStreams();
  const CommandLine line = ParseCommandLine({argv + 1, argv + argc});
  if (!line.error.empty()) {
    std::fprintf(stderr, "tarvenol-batch: %s\n%s", line.error.c_str(), kBatchUsage);
    return 2;
  }
  if (line.help) {
    std::fputs(kBatchUsage, stdout);
    return 0;
  }
  if (line.version) {
    std::puts("tarvenol-batch " TARVENOL_VERSION);
    return 0;
  }
  return RunBatch(line);
}
