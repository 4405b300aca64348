#pragma once
// How many threads the parallel work asks for.

namespace tarvenol {

// No more threads than the machine has processors, whatever OMP_NUM_THREADS asks: the
// threading library fails, or ends the process, when asked for thousands.
void CapThreadsAtProcessors();

// The threads the parallel work runs on.
int SolverThreads();

}  // namespace tarvenol
