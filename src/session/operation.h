#pragma once
// An operation that computes comes in two parts. Run, the long part, computes and writes the
// report; it may run away from the window's thread, so it touches neither the window nor the
// program's state, which it only reads. Finish, on the window's thread, takes the result into
// the program and shows it, or shows why there is none. An operation that fails or is
// abandoned leaves the model state, the picture and the report as they were before it.

#include <exception>

#include "core/progress.h"
#include "core/window_ops.h"
#include "session/program.h"

namespace tarvenol {

class Operation {
 public:
  virtual ~Operation() = default;

  // The long part, telling progress how far it has come. A failure is kept for Finish to show.
  void Run(Progress& progress) noexcept;
  // The result taken into p and shown, or the failure's message; none for a cancel, which the
  // user asked for.
  void Finish(Program& p, WindowOps& win);

 protected:
  virtual void Compute(Progress& progress) = 0;
  // Must leave p as it was when it throws.
  virtual void Take(Program& p, WindowOps& win) = 0;
  // What p must get back when the operation fails.
  virtual void Abandon(Program&) {}

 private:
  std::exception_ptr failure_;
};

}  // namespace tarvenol
