#pragma once
// The batch tool's run: the actions of its command line taken as a user takes them in the
// window, with the program's messages on standard error.

#include "batch/command_line.h"

namespace tarvenol {

// The exit status: 0, or 1 when a message was shown; 128 + the signal's number when SIGINT,
// SIGTERM or SIGHUP stopped it.
int RunBatch(const CommandLine& line);

}  // namespace tarvenol
