#pragma once
// Every action of the user runs guarded: whatever stops it becomes a message, never the end
// of the program.

#include <exception>
#include <new>
#include <string>

#include "core/program_error.h"
#include "core/progress.h"
#include "core/window_ops.h"

namespace tarvenol {

template <typename Action>
void Guarded(WindowOps& win, Action&& action) {
  try {
    action();
  } catch (const Cancelled&) {
    // Asked for by the user, who needs no message; what the action would have written is not.
  } catch (const ProgramError& e) {
    win.MessageBox(e.what());
  } catch (const std::bad_alloc&) {
    win.MessageBox("There is not enough memory for this operation.");
  } catch (const std::exception& e) {
    // A fault of the system library (a path it cannot take, say): said, not fatal.
    win.MessageBox(std::string("The operation could not be done: ") + e.what());
  } catch (...) {
    win.MessageBox("The operation could not be done.");
  }
}

}  // namespace tarvenol
