#pragma once
// Long work done with the interpreter's lock released, so that other Python threads go on, and
// stopped by Ctrl-C as the window's Cancel stops it: the program's progress callback looks at
// the interpreter's signals, under its lock, and a KeyboardInterrupt asks the work to stop at
// its next coarse step; the exception is raised once the work has unwound, with nothing of it
// kept.

#include <pybind11/pybind11.h>

#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "core/progress.h"

namespace tarvenol {

class PythonProgress : public Progress {
 public:
  // Made under the interpreter's lock, on the thread that will do the work.
  PythonProgress();
  bool Advance(Stage stage, double fraction) override;
  // A signal's handler raised an exception, which the thread holds until it is raised.
  bool Interrupted() const { return interrupted_; }

 private:
  // Signals are handled on the interpreter's main thread only: elsewhere there is nothing to
  // look at, and the lock is not taken.
  bool looks_ = false;
  std::thread::id caller_;
  std::chrono::steady_clock::time_point next_;
  bool interrupted_ = false;
};

// work(progress) with the lock released. A signal's exception (KeyboardInterrupt) that stopped
// it is raised here; a ProgramError goes on to the caller, who raises it as tarvenol.Error.
template <typename Work>
auto Released(Work&& work) {
  PythonProgress progress;
  std::optional<decltype(work(progress))> result;
  try {
    pybind11::gil_scoped_release release;
    result.emplace(work(progress));
  } catch (const Cancelled&) {
    if (progress.Interrupted()) throw pybind11::error_already_set();
    throw;
  }
  // Work that finished before it looked again: the signal's exception is raised all the same.
  if (progress.Interrupted()) throw pybind11::error_already_set();
  return std::move(*result);
}

}  // namespace tarvenol
