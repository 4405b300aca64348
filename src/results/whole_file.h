#pragma once
// A file that is either written whole or not at all: it is written beside its name, checked to
// the end, its close included, and only then moved in place; a half-written file never stands
// under the user's name.

#include <cstdio>
#include <functional>
#include <string>

namespace tarvenol {

// Writes path through write; a ProgramError, saying "The <what> cannot be written to PATH: why.",
// when it cannot, and the file that was there before stays. Only a regular file (or nothing) may
// stand under the name.
void WriteWholeFile(const std::string& path, const char* what,
                    const std::function<void(std::FILE* out)>& write);

}  // namespace tarvenol
