#include "solver/threads.h"

#include <omp.h>

#include <algorithm>

namespace tarvenol {

void CapThreadsAtProcessors() {
  omp_set_num_threads(std::clamp(omp_get_max_threads(), 1, std::max(omp_get_num_procs(), 1)));
}

int SolverThreads() {
  return omp_get_max_threads();
}

}  // namespace tarvenol
