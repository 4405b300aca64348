#pragma once
// SIGINT, SIGTERM and SIGHUP taken as the window's Cancel: the first asks the work to stop at
// its next coarse step, where an operation leaves the state and the report as they were and a
// file being written is finished first, whole; a second ends the process at once, with exit
// status 128 + its number.

#include <csignal>

namespace tarvenol {

class Interrupts {
 public:
  Interrupts();   // takes the three signals
  ~Interrupts();  // and gives them back
  Interrupts(const Interrupts&) = delete;
  Interrupts& operator=(const Interrupts&) = delete;

  // The first signal received; 0 while none has come. Any thread may ask.
  static int Received();

 private:
  struct sigaction previous_[3] = {};
};

// "SIGINT" for the signals taken, "a signal" for others.
const char* SignalName(int signal);

}  // namespace tarvenol
