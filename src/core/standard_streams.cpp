#include "core/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tarvenol {

void OpenClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is fd, since those below it are open. Without /dev/null (in a bare
    // container, say), a folder held open for reading takes it: every write to it fails.
    if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) < 0) {
      ::open("/", O_RDONLY | O_DIRECTORY);
    }
  }
}

}  // namespace tarvenol
