#include "core/whole_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/program_error.h"
#include "core/shown_text.h"

namespace tarvenol {
namespace {

// As many links as the system follows in one name.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// The absolute name path comes to once every link on the way is followed, the last one too
// where what it names does not exist yet; empty, with errno set, where it comes to none (a
// folder on the way missing, a loop of links).
std::string FollowLinks(std::string path) {
  for (int links = 0; links <= kMaxLinks; ++links) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string resolved = real;
      std::free(real);
      return resolved;
    }
    if (errno != ENOENT) return {};
    char link[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
    if (length < 0) {
      if (errno != ENOENT && errno != EINVAL) return {};
      // Not a link: a new name, in a folder that must exist.
      char* folder = ::realpath(FolderOf(path).c_str(), nullptr);
      if (folder == nullptr) return {};
      std::string resolved = folder;
      std::free(folder);
      if (resolved.back() != '/') resolved += '/';
      return resolved + std::filesystem::path(path).filename().string();
    }
    const std::string next(link, static_cast<std::size_t>(length));
    path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
  }
  errno = ELOOP;
  return {};
}

// The file a write to path replaces, or creates: a regular file, or a new name.
struct Target {
  std::string path;
  bool exists = false;
  struct stat info {};
};

template <typename Fault>
Target Resolve(const std::string& path, const Fault& fault) {
  Target target;
  if (::stat(path.c_str(), &target.info) == 0) {
    // A device, a pipe or a folder is neither written into nor replaced.
    if (!S_ISREG(target.info.st_mode)) throw fault("it is not a regular file");
    target.exists = true;
  } else if (errno != ENOENT) {
    throw fault(std::strerror(errno));
  }
  target.path = FollowLinks(path);
  if (target.path.empty()) throw fault(std::strerror(errno));
  // A file with no name in a folder (one of a process's descriptors, say) is not replaced.
  struct stat named {};
  if (target.exists && (::stat(target.path.c_str(), &named) != 0 ||
                        named.st_dev != target.info.st_dev || named.st_ino != target.info.st_ino)) {
    throw fault("it is not a regular file");
  }
  return target;
}

bool SameFile(const Target& target, const HeldFile& held) {
  struct stat info {};
  if (target.exists && ::stat(held.path.c_str(), &info) == 0 && info.st_dev == target.info.st_dev &&
      info.st_ino == target.info.st_ino) {
    return true;
  }
  return FollowLinks(held.path) == target.path;
}

// The mode a new file gets from the process: all may read and write, less the umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void FileSink::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t wrote = ::write(fd_, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    // Nothing written without an error would loop for ever: the disk is full.
    if (wrote <= 0) throw std::system_error(wrote < 0 ? errno : ENOSPC, std::generic_category());
    bytes.remove_prefix(static_cast<std::size_t>(wrote));
    written_ += wrote;
  }
}

void WriteWholeFile(const std::string& path, const std::string& what,
                    const std::function<void(FileSink& out)>& write,
                    const std::vector<HeldFile>& held) {
  const auto fault = [&](const std::string& why) {
    return ProgramError("The " + what + " cannot be written to " + ShownPath(path) + ": " + why +
                        ".");
  };
  const auto systemFault = [&](int error) { return fault(std::strerror(error)); };
  const Target target = Resolve(path, fault);
  for (const HeldFile& file : held) {
    if (!file.path.empty() && SameFile(target, file)) throw fault("it is " + file.what);
  }

  std::string name = FolderOf(target.path) + "/.tarvenol-XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) throw systemFault(errno);
  const auto abandon = [&] {
    ::close(fd);
    ::unlink(name.c_str());
  };
  try {
    // A file replaced keeps its permissions, and its owner where the process may give it one.
    if (target.exists && ::fchown(fd, target.info.st_uid, target.info.st_gid) != 0 &&
        errno != EPERM) {
      throw systemFault(errno);
    }
    if (::fchmod(fd, target.exists ? target.info.st_mode & 07777 : NewFileMode()) != 0) {
      throw systemFault(errno);
    }
    FileSink sink(fd);
    write(sink);
    struct stat written {};
    if (::fsync(fd) != 0 || ::fstat(fd, &written) != 0) throw systemFault(errno);
    if (written.st_size != sink.Written()) {
      throw fault("only " + std::to_string(written.st_size) + " of its " +
                  std::to_string(sink.Written()) + " bytes reached the disk");
    }
  } catch (const std::system_error& e) {
    abandon();
    throw systemFault(e.code().value());
  } catch (...) {
    abandon();
    throw;
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(name.c_str());
    throw systemFault(error);
  }
  if (::rename(name.c_str(), target.path.c_str()) != 0) {
    const int error = errno;
    ::unlink(name.c_str());
    throw systemFault(error);
  }
}

void WriteWholeFile(const std::string& path, const std::string& what, std::string_view bytes,
                    const std::vector<HeldFile>& held) {
  WriteWholeFile(
      path, what, [bytes](FileSink& out) { out.Write(bytes); }, held);
}

}  // namespace tarvenol
