#pragma once
// Results the batch tool prints: a standard output that cannot take them (a full disk, a closed
// pipe's reader gone) loses them, and says so, instead of ending with status 0.

#include <string_view>

#include "core/window_ops.h"

namespace tarvenol {

// Writes text to standard output and flushes it; a message through win when either fails.
void PrintResult(WindowOps& win, std::string_view text);

}  // namespace tarvenol
