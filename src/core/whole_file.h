#pragma once
// Every file the program writes besides its report (tables, VTK files, pictures, plots) goes
// through here, so that each is written whole or not at all:
// - the bytes go into a new file beside the target, and every one of them is checked to have
//   reached it, the file's size included, and synced to the disk before it takes the target's
//   place; a half-written file never stands under the user's name;
// - a link is followed to the file it names, which is replaced and the link kept; a file
//   replaced keeps its permissions;
// - only a regular file, or a new name in an existing folder, may be the target: never a
//   device, a pipe, a folder, a link to nothing, nor a file the program holds (its report,
//   the body file it read), by whatever name it is reached;
// - the name is used as the bytes given, whatever its encoding.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenol {

// A file the program holds, which no file it writes may replace.
struct HeldFile {
  std::string path;
  std::string what;  // for a message: "the program's report"
};

// Takes a file's bytes as they are made, so that a large file never lies in memory whole.
class FileSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Writes all of bytes, or throws ProgramError with the system's reason.
  void Write(std::string_view bytes);
  // How many bytes were handed over so far.
  long long Written() const { return written_; }

 private:
  int fd_;
  long long written_ = 0;
};

// Writes path with the bytes that write hands to its sink, whole or not at all. A ProgramError
// "The <what> cannot be written to "PATH": why." when it cannot, and then the file that was
// there before stays, and nothing is left beside it.
void WriteWholeFile(const std::string& path, const std::string& what,
                    const std::function<void(FileSink& out)>& write,
                    const std::vector<HeldFile>& held);

// The same for bytes made beforehand.
void WriteWholeFile(const std::string& path, const std::string& what, std::string_view bytes,
                    const std::vector<HeldFile>& held);

}  // namespace tarvenol
