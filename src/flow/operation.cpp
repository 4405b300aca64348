#include "flow/operation.h"

#include "flow/guarded.h"

namespace tarvenol {

void Operation::Run() noexcept {
  try {
    Compute();
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void Operation::Finish(Program& p, WindowOps& win) {
  bool taken = false;
  Guarded(win, [&] {
    if (failure_) std::rethrow_exception(failure_);
    Take(p, win);
    taken = true;
  });
  if (!taken) Abandon(p);
}

}  // namespace tarvenol
