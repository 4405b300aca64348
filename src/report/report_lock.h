#pragma once
// The report belongs to one running program: the one that took it at start-up holds a lock on
// it for its whole life, so that a second one started in the same folder cannot mix its
// sections into it.

#include <string>

#include "core/program_error.h"

namespace tarvenol {

// Another running program holds the report.
class ReportInUse : public ProgramError {
 public:
  using ProgramError::ProgramError;
};

class ReportLock {
 public:
  ReportLock() = default;
  ~ReportLock();
  ReportLock(ReportLock&& other) noexcept;
  ReportLock& operator=(ReportLock&& other) noexcept;

  // Creates the report, or empties the one there, once it is locked. ReportInUse, naming the
  // other program, when another holds it; ProgramError when it cannot be created.
  static ReportLock TakeAndEmpty(const std::string& path);

 private:
  explicit ReportLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace tarvenol
