#include "solver/threads.h"

#include <omp.h>
#include <pthread.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/program_error.h"

namespace tarvenol {
namespace {

// The threading library's reading of OMP_STACKSIZE: a number of KiB, or of bytes, KiB, MiB or
// GiB as its suffix B, K, M or G says; 0 where it is not set or not such a number.
std::size_t StackSizeAsked(const char* variable) {
  const char* text = std::getenv(variable);
  if (text == nullptr) return 0;
  char* end = nullptr;
  const unsigned long long number = std::strtoull(text, &end, 10);
  if (end == text) return 0;
  while (*end == ' ' || *end == '\t') ++end;
  unsigned long long unit = 1024;
  switch (*end) {
    case 'b':
    case 'B':
      unit = 1;
      ++end;
      break;
    case 'k':
    case 'K':
      ++end;
      break;
    case 'm':
    case 'M':
      unit = 1024ull * 1024;
      ++end;
      break;
    case 'g':
    case 'G':
      unit = 1024ull * 1024 * 1024;
      ++end;
      break;
    default:
      break;
  }
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0' ? static_cast<std::size_t>(number * unit) : 0;
}

// The stack the threading library gives each thread it starts.
std::size_t ThreadStack() {
  for (const char* variable : {"OMP_STACKSIZE", "GOMP_STACKSIZE"}) {
    // The library refuses a stack under the system's least, and keeps its default.
    if (const std::size_t asked = StackSizeAsked(variable);
        asked >= static_cast<std::size_t>(PTHREAD_STACK_MIN)) {
      return asked;
    }
  }
  pthread_attr_t attributes;
  std::size_t size = 0;
  if (pthread_getattr_default_np(&attributes) == 0) {
    pthread_attr_getstacksize(&attributes, &size);
    pthread_attr_destroy(&attributes);
  }
  return size;
}

}  // namespace

int CapThreadsAtProcessors() {
  const int threads = std::clamp(omp_get_max_threads(), 1, std::max(omp_get_num_procs(), 1));
  omp_set_num_threads(threads);
  return threads;
}

double ThreadStackBytes() {
  return static_cast<double>(CapThreadsAtProcessors() - 1) * static_cast<double>(ThreadStack());
}

void StartThreads() {
  const int threads = CapThreadsAtProcessors();
  // Each thread the library will start, started here first with the same stack, and ended:
  // what fails here is said, and what succeeds leaves the room (and the stacks, which the
  // system keeps for the next threads) that the library's own take at once.
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  if (const std::size_t stack = ThreadStack(); stack != 0) {
    pthread_attr_setstacksize(&attributes, stack);
  }
  std::vector<pthread_t> started;
  int error = 0;
  for (int k = 1; k < threads && error == 0; ++k) {
    pthread_t thread;
    error = pthread_create(
        &thread, &attributes, [](void*) -> void* { return nullptr; }, nullptr);
    if (error == 0) started.push_back(thread);
  }
  for (const pthread_t thread : started) pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    throw ProgramError("The program cannot start the " + std::to_string(threads) +
                       " threads of its parallel work: " + std::strerror(error) +
                       ". Free some memory, or ask for fewer threads with OMP_NUM_THREADS.");
  }
#pragma omp parallel
  {
    // Nothing: the library's threads start, and wait for the work.
  }
}

int SolverThreads() {
  return omp_get_max_threads();
}

void RunBeside(const std::function<void()>& first, const std::function<void()>& second) {
  // The second is a task, which the other thread takes, or the caller after the first.
#pragma omp parallel num_threads(std::min(2, omp_get_max_threads()))
#pragma omp masked
  {
#pragma omp task
    second();
    first();
#pragma omp taskwait
  }
}

}  // namespace tarvenol
