#pragma once
// A program started with standard input, output or error closed would hand that number to the
// next file it opens, its report say, and its messages would then be written over the report.

namespace tarvenol {

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed. The first thing main
// does, before any file is opened.
void OpenClosedStandardStreams();

}  // namespace tarvenol
