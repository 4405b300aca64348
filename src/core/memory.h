#pragma once
// A look at the machine's memory before large arrays are made, so that a size too large
// for it is refused with a message instead of failing halfway.

#include <string>

namespace tarvenol {

// Memory the program can still take, in bytes, as the system reports it.
double AvailableMemoryBytes();

// Refuses, with a message naming what needs it, a need beyond the available memory.
void RequireMemory(double bytes, const std::string& what);

std::string ByteText(double bytes);

}  // namespace tarvenol
