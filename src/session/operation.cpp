#include "session/operation.h"

#include "session/guarded.h"

namespace tarvenol {

void Operation::Run(Progress& progress) noexcept {
  try {
    Compute(progress);
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void Operation::Finish(Program& p, WindowOps& win) {
  bool taken = false;
  Guarded(win, [&] {
    try {
      if (failure_) std::rethrow_exception(failure_);
      Take(p, win);
      taken = true;
    } catch (const Cancelled&) {
    }
  });
  if (!taken) Abandon(p);
}

}  // namespace tarvenol
