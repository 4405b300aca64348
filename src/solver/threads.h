#pragma once
// How many threads the parallel work asks for, what they take, and their start.

#include <functional>

namespace tarvenol {

// No more threads than the machine has processors, whatever OMP_NUM_THREADS asks: the
// threading library fails, or ends the process, when asked for thousands. For the calling
// thread's parallel work; the number it gives.
int CapThreadsAtProcessors();

// The address space the parallel work of the calling thread takes for the stacks of the
// threads it starts besides the caller: OMP_STACKSIZE (or GOMP_STACKSIZE) each, where set, the
// system's default stack otherwise.
double ThreadStackBytes();

// Starts the threads the parallel work of the calling thread will use. Where the system cannot
// start one (too little address space, too many processes), a ProgramError saying so, rather
// than the threading library ending the process at the first parallel loop.
void StartThreads();

// The threads the parallel work runs on.
int SolverThreads();

// Runs first on the calling thread and second beside it, on another thread of the parallel
// work where there is one (else after first); returns when both are done. Neither may let an
// exception leave it. Work within either runs on its thread alone.
void RunBeside(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace tarvenol
