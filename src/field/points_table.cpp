#include "field/points_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"

namespace tarvenol {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Fields(std::string_view row) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = row.find(',', start);
    fields.push_back(Trimmed(row.substr(start, comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool IsHeader(const std::vector<std::string_view>& fields) {
  static constexpr const char* kNames[] = {"x", "y", "z"};
  if (fields.size() != 3) return false;
  for (std::size_t k = 0; k < 3; ++k) {
    if (fields[k].size() != 1 ||
        std::tolower(static_cast<unsigned char>(fields[k][0])) != kNames[k][0]) {
      return false;
    }
  }
  return true;
}

ProgramError Fault(const std::string& name, const std::string& why) {
  return ProgramError("The points cannot be read from " + ShownPath(name) + ": " + why + ".");
}

// Lines of a file, each at most kMaxTableLine characters, read a block at a time.
class LineReader {
 public:
  LineReader(std::FILE* file, const std::string& name) : file_(file), name_(name) {}

  // The next line without its line break; false at the end of the file.
  bool Next(std::string& line) {
    line.clear();
    for (;;) {
      if (at_ == end_ && !Fill()) {
        if (line.empty()) return false;
        ++number_;  // the last line, without a line break
        return true;
      }
      const char* begin = block_ + at_;
      const auto* stop = static_cast<const char*>(std::memchr(begin, '\n', end_ - at_));
      const std::size_t length =
          stop != nullptr ? static_cast<std::size_t>(stop - begin) : end_ - at_;
      if (line.size() + length > kMaxTableLine) {
        throw Fault(name_, "line " + std::to_string(number_ + 1) + " is longer than " +
                               std::to_string(kMaxTableLine) +
                               " characters, more than any row of three numbers");
      }
      line.append(begin, length);
      at_ += length;
      if (stop != nullptr) {
        ++at_;
        ++number_;
        return true;
      }
    }
  }
  long Number() const { return number_; }  // of the line last read
  double Fraction() const { return size_ > 0 ? static_cast<double>(read_) / size_ : 0; }
  void SetSize(double bytes) { size_ = bytes; }

 private:
  bool Fill() {
    at_ = 0;
    end_ = std::fread(block_, 1, sizeof block_, file_);
    if (end_ == 0 && std::ferror(file_)) throw Fault(name_, std::strerror(errno));
    if (read_ == 0 && end_ >= 3 && std::memcmp(block_, "\xef\xbb\xbf", 3) == 0) at_ = 3;
    read_ += static_cast<double>(end_);
    return end_ != 0;
  }

  std::FILE* file_;
  const std::string& name_;
  char block_[1 << 16];
  std::size_t at_ = 0, end_ = 0;
  long number_ = 0;
  double read_ = 0, size_ = 0;
};

}  // namespace

std::optional<double> ReadCoordinate(std::string_view text) {
  const std::string_view number = Trimmed(text);
  const std::optional<NumberPrefix> read = ReadNumberPrefix(number);
  if (!read || read->length != number.size() || !std::isfinite(read->value)) return std::nullopt;
  return read->value;
}

std::vector<Vector3> ReadProbePoints(const std::string& path, Progress& progress) {
  // Opened without waiting: a FIFO would block the open, or the reading, for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw Fault(path, std::strerror(errno));
  struct stat info {};
  std::FILE* file = nullptr;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
      (file = ::fdopen(fd, "rb")) == nullptr) {
    const std::string why =
        S_ISREG(info.st_mode) ? std::strerror(errno) : "it is not a regular file";
    ::close(fd);
    throw Fault(path, why);
  }
  try {
    std::vector<Vector3> points = ReadProbePoints(file, path, progress);
    std::fclose(file);
    return points;
  } catch (...) {
    std::fclose(file);
    throw;
  }
}

std::vector<Vector3> ReadProbePoints(std::FILE* file, const std::string& name, Progress& progress) {
  struct stat info {};
  LineReader lines(file, name);
  if (::fstat(::fileno(file), &info) == 0) lines.SetSize(static_cast<double>(info.st_size));
  std::vector<Vector3> points;
  std::string row;
  bool first = true;
  ProgressClock clock;
  while (lines.Next(row)) {
    clock.Tick(progress, Stage::Points, lines.Fraction());
    if (Trimmed(row).empty()) continue;
    const std::vector<std::string_view> fields = Fields(row);
    if (first && IsHeader(fields)) {
      first = false;
      continue;
    }
    first = false;
    Vector3 p{};
    bool numbers = fields.size() == 3;
    for (std::size_t k = 0; numbers && k < 3; ++k) {
      const std::optional<double> v = ReadCoordinate(fields[k]);
      numbers = v.has_value();
      if (numbers) p[k] = *v;
    }
    if (!numbers) {
      throw Fault(name, "line " + std::to_string(lines.Number()) + ", " + Shown(row) +
                            ", is not three numbers x, y, z separated by commas");
    }
    points.push_back(p);
  }
  if (points.empty()) throw Fault(name, "it holds no points");
  return points;
}

}  // namespace tarvenol
