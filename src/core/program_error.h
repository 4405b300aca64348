#pragma once
// A step that cannot go on abandons the user's operation with a ProgramError; the
// operation shows its message and leaves the model state as it was.

#include <stdexcept>
#include <string>

namespace tarvenol {

class ProgramError : public std::runtime_error {
 public:
  explicit ProgramError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tarvenol
