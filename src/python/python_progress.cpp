#include "python/python_progress.h"

namespace tarvenol {
namespace {

// How often the signals are looked at: a Ctrl-C is answered within a coarse step after this,
// and the lock is taken a few dozen times a second at most.
constexpr std::chrono::milliseconds kSignalInterval{20};

}  // namespace

PythonProgress::PythonProgress()
    : caller_(std::this_thread::get_id()), next_(std::chrono::steady_clock::now()) {
  const pybind11::module_ threading = pybind11::module_::import("threading");
  looks_ = threading.attr("current_thread")().is(threading.attr("main_thread")());
}

bool PythonProgress::Advance(Stage, double) {
  if (interrupted_) return false;
  if (!looks_ || std::this_thread::get_id() != caller_) return true;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return true;
  next_ = now + kSignalInterval;
  const pybind11::gil_scoped_acquire lock;
  interrupted_ = PyErr_CheckSignals() != 0;
  return !interrupted_;
}

}  // namespace tarvenol
