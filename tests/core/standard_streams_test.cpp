#include "core/standard_streams.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvenol {
namespace {

TEST(StandardStreams, ClosedOnesAreOpenedOnNothing) {
  struct stat null {};
  ASSERT_EQ(stat("/dev/null", &null), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(0);
    close(2);
    OpenClosedStandardStreams();
    struct stat in {
    }, err{};
    const bool open = fstat(0, &in) == 0 && fstat(2, &err) == 0;
    _exit(open && in.st_rdev == null.st_rdev && err.st_rdev == null.st_rdev ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace tarvenol
