#include "batch/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace tarvenol {

void PrintResult(WindowOps& win, std::string_view text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  if (std::fflush(stdout) == 0 && written && std::ferror(stdout) == 0) return;
  const int error = errno != 0 ? errno : EIO;
  std::clearerr(stdout);
  win.MessageBox("The result cannot be written to standard output: " +
                 std::string(std::strerror(error)) + ".");
}

}  // namespace tarvenol
