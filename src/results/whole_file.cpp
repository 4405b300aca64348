#include "results/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/program_error.h"
#include "core/shown_text.h"

namespace tarvenol {

void WriteWholeFile(const std::string& path, const char* what,
                    const std::function<void(std::FILE* out)>& write) {
  const auto fault = [&](const std::string& why) {
    return ProgramError("The " + std::string(what) + " cannot be written to " + ShownPath(path) +
                        ": " + why + ".");
  };
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    throw fault("it is not a regular file");
  }
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw fault(std::strerror(errno));
  // As an ordinary new file would be, not private to its owner as a temporary one is.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  std::FILE* out = ::fdopen(fd, "wb");
  if (out == nullptr) {
    const int error = errno;
    ::close(fd);
    ::unlink(name.data());
    throw fault(std::strerror(error));
  }
  errno = 0;
  try {
    write(out);
  } catch (...) {
    std::fclose(out);
    ::unlink(name.data());
    throw;
  }
  const bool written = std::fflush(out) == 0 && std::ferror(out) == 0;
  const int error = errno != 0 ? errno : EIO;
  if (std::fclose(out) != 0 || !written) {
    const int closeError = written ? errno : error;
    ::unlink(name.data());
    throw fault(std::strerror(closeError));
  }
  if (std::rename(name.data(), path.c_str()) != 0) {
    const int renameError = errno;
    ::unlink(name.data());
    throw fault(std::strerror(renameError));
  }
}

}  // namespace tarvenol
