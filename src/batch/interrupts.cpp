#include "batch/interrupts.h"

#include <unistd.h>

#include <atomic>

namespace tarvenol {
namespace {

constexpr int kTaken[3] = {SIGINT, SIGTERM, SIGHUP};

// The one value a signal handler sets; a handler can reach nothing but a global.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free, "a handler may only touch lock-free atomics");

extern "C" void OnSignal(int signal) {
  int none = 0;
  if (!received.compare_exchange_strong(none, signal)) _exit(128 + signal);
}

}  // namespace

Interrupts::Interrupts() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // A read or write under way goes on, rather than failing with EINTR.
  action.sa_flags = SA_RESTART;
  for (int k = 0; k < 3; ++k) sigaction(kTaken[k], &action, &previous_[k]);
}

Interrupts::~Interrupts() {
  for (int k = 0; k < 3; ++k) sigaction(kTaken[k], &previous_[k], nullptr);
}

int Interrupts::Received() {
  return received.load();
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "a signal";
  }
}

}  // namespace tarvenol
