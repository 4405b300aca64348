#include "report/report_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "core/shown_text.h"
#include "report/report_file.h"

namespace tarvenol {
namespace {

// "process 1234, tarvenol-batch" for the process that holds a lock on the file open as fd, from
// the system's table of locks; empty when it cannot be told.
std::string LockHolder(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return {};
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; waiting locks carry a "->" as well.
    std::istringstream fields(line);
    std::string number, kind, advisory, mode, pid, file;
    fields >> number >> kind;
    if (kind == "->") fields >> kind;
    fields >> advisory >> mode >> pid >> file;
    unsigned major = 0, minor = 0;
    unsigned long inode = 0;
    if (kind != "FLOCK" || std::sscanf(file.c_str(), "%x:%x:%lu", &major, &minor, &inode) != 3 ||
        major != ::major(info.st_dev) || minor != ::minor(info.st_dev) || inode != info.st_ino) {
      continue;
    }
    std::ifstream comm("/proc/" + pid + "/comm");
    std::string name;
    std::getline(comm, name);
    return "process " + pid + (name.empty() ? "" : ", " + Shown(name));
  }
  return {};
}

}  // namespace

ReportLock::~ReportLock() {
  if (fd_ >= 0) ::close(fd_);
}

ReportLock::ReportLock(ReportLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

ReportLock& ReportLock::operator=(ReportLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

ReportLock ReportLock::TakeAndEmpty(const std::string& path) {
  ReportLock lock(OpenReport(path, O_WRONLY, "create"));
  if (::flock(lock.fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    const std::string holder = LockHolder(lock.fd_);
    throw ReportInUse("The report " + ShownPath(path) + " in this folder is being written by " +
                      (holder.empty() ? "another program" : "another program (" + holder + ")") +
                      ". Start this one in another folder, or end that one first.");
  }
  // A file system without locks still gets its report; only the lock is missing then.
  if (::ftruncate(lock.fd_, 0) != 0) {
    throw ProgramError("Cannot create the report file " + ShownPath(path) + ": " +
                       std::strerror(errno));
  }
  return lock;
}

}  // namespace tarvenol
