#include "geometry/body_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "core/counts.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"

namespace tarvenol {
namespace {

// One value longer than this is not part of a profile.
constexpr std::size_t kMaxValueLength = 1000;

// Takes the values of a body file one at a time, and knows where each one stood.
class ValueReader {
 public:
  ValueReader(std::FILE* file, const std::string& name) : file_(file), name_(name) {}

  // The next value as text; quoted says whether it stood in double quotes.
  struct Value {
    std::string text;
    bool quoted = false;
  };

  Value Next(const std::string& what) {
    SkipBlanks();
    line_ = currentLine_;
    column_ = ++currentColumn_;
    Value value;
    int c = Peek();
    if (c == EOF) Fail("ends before " + what);
    if (c == '"') {
      Get();
      value.quoted = true;
      while ((c = Get()) != '"') {
        if (c == EOF || c == '\n' || c == '\r') Fail("has a quoted text without its closing quote");
        Keep(value.text, c);
      }
    } else {
      while ((c = Peek()) != EOF && c != ',' && c != '\n' && c != '\r' && c != ' ' && c != '\t') {
        Keep(value.text, Get());
      }
    }
    EndValue();
    return value;
  }

  double NextNumber(const std::string& what) {
    const Value value = Next(what);
    if (value.text.empty() && !value.quoted) return 0;  // an empty value counts as 0
    const auto number = ReadNumberPrefix(value.text);
    if (value.quoted || !number || number->length != value.text.size()) {
      Fail(At() + Shown(value.text) + " is not a number (" + what + ")");
    }
    if (!std::isfinite(number->value)) {
      Fail(At() + Shown(value.text) + " is too large (" + what + ")");
    }
    return number->value;
  }

  // A text editor's or a spreadsheet's "UTF-8" file may begin with the byte order mark, which
  // is no part of the first value.
  void SkipByteOrderMark() {
    static constexpr unsigned char kMark[] = {0xef, 0xbb, 0xbf};
    std::string read;
    for (const unsigned char m : kMark) {
      const int c = Read();
      if (c != EOF) read.push_back(static_cast<char>(c));
      if (c != m) {
        pending_ = read;
        return;
      }
    }
  }

  [[noreturn]] void Fail(const std::string& fault) const {
    throw ProgramError("The body file " + ShownPath(name_) + " " + fault + ".");
  }

  std::string At() const {
    return "holds at line " + std::to_string(line_) + ", value " + std::to_string(column_) + ": ";
  }

 private:
  int Read() {
    if (!pending_.empty()) {
      const auto c = static_cast<unsigned char>(pending_.front());
      pending_.erase(0, 1);
      return c;
    }
    const int c = std::fgetc(file_);
    if (c == EOF && std::ferror(file_))
      Fail("cannot be read: " + std::string(std::strerror(errno)));
    return c;
  }
  int Peek() {
    if (!peeked_) {
      next_ = Read();
      peeked_ = true;
    }
    return next_;
  }
  int Get() {
    const int c = Peek();
    peeked_ = false;
    return c;
  }
  void Keep(std::string& text, int c) const {
    if (text.size() >= kMaxValueLength) Fail(At() + "a value longer than any number");
    text.push_back(static_cast<char>(c));
  }
  void SkipBlanks() {
    while (Peek() == ' ' || Peek() == '\t') Get();
  }
  // A comma or a line break ends a value; so do blanks before another value on the line.
  void EndValue() {
    SkipBlanks();
    const int c = Peek();
    if (c == ',') {
      Get();
    } else if (c == '\r' || c == '\n') {
      Get();
      if (c == '\r' && Peek() == '\n') Get();
      ++currentLine_;
      currentColumn_ = 0;
    }
  }

  std::FILE* file_;
  std::string name_;
  std::string pending_;  // bytes read ahead, to be read again
  int next_ = 0;
  bool peeked_ = false;
  long currentLine_ = 1;
  long currentColumn_ = 0;
  long line_ = 1;  // where the last value stood
  long column_ = 0;
};

std::string PointName(long k, long n) {
  return "point " + std::to_string(k) + " of " + std::to_string(n);
}

// The point numbers of the records, which are read and discarded: any numbering is taken (from
// 0, from 11, empty, text), except the numbers 1 to N in another order, where the file itself
// says that its records were swapped and the profile would fold back on itself.
class RecordOrder {
 public:
  explicit RecordOrder(long n) : n_(n), seen_(static_cast<std::size_t>(n) + 1, false) {}

  void Take(const ValueReader& reader, const ValueReader::Value& number, long k) {
    if (!oneToN_) return;
    const auto read = number.quoted ? std::nullopt : ReadNumberPrefix(number.text);
    const double v = read && read->length == number.text.size() ? read->value : 0;
    if (!(v >= 1 && v <= static_cast<double>(n_) && v == std::floor(v)) ||
        seen_[static_cast<std::size_t>(v)]) {
      oneToN_ = false;
      return;
    }
    seen_[static_cast<std::size_t>(v)] = true;
    if (v != static_cast<double>(k) && firstOutOfPlace_.empty()) {
      firstOutOfPlace_ = reader.At() + "point number " + std::to_string(static_cast<long>(v)) +
                         " where point " + std::to_string(k) + " belongs";
    }
  }

  void RefuseSwappedRecords(const ValueReader& reader) const {
    if (oneToN_ && !firstOutOfPlace_.empty()) {
      reader.Fail(firstOutOfPlace_ + ": its records are numbered 1 to " + std::to_string(n_) +
                  ", but not in order");
    }
  }

 private:
  long n_;
  std::vector<bool> seen_;
  bool oneToN_ = true;  // every number so far a different one of 1 to N
  std::string firstOutOfPlace_;
};

// Opens path for reading, without waiting on anything that is not a regular file: a FIFO
// would block the open, or the reading, for ever.
std::FILE* OpenRegularFile(const std::string& path) {
  const std::string name = "The body file " + ShownPath(path);
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw ProgramError(name + " cannot be opened: " + std::strerror(errno) + ".");
  struct stat info {};
  std::string fault;
  if (::fstat(fd, &info) != 0) {
    fault = " cannot be opened: " + std::string(std::strerror(errno));
  } else if (S_ISDIR(info.st_mode)) {
    fault = " cannot be read: " + std::string(std::strerror(EISDIR));
  } else if (!S_ISREG(info.st_mode)) {
    fault = " cannot be opened: it is not a regular file";
  }
  std::FILE* file = nullptr;
  if (fault.empty()) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file = ::fdopen(fd, "rb");
    if (file == nullptr) fault = " cannot be opened: " + std::string(std::strerror(errno));
  }
  if (file == nullptr) {
    ::close(fd);
    throw ProgramError(name + fault + ".");
  }
  return file;
}

}  // namespace

BodyProfile ReadBodyProfile(const std::string& path, double maxPoints, Progress& progress) {
  std::FILE* file = OpenRegularFile(path);
  try {
    BodyProfile profile = ReadBodyProfile(file, path, maxPoints, progress);
    std::fclose(file);
    return profile;
  } catch (...) {
    std::fclose(file);
    throw;
  }
}

BodyProfile ReadBodyProfile(std::FILE* file, const std::string& name, double maxPoints,
                            Progress& progress) {
  ValueReader reader(file, name);
  reader.SkipByteOrderMark();
  reader.Next("its first header value");
  const double count = reader.NextNumber("the number of profile points");
  if (!IsWholeCount(count, kMinNI + 1, maxPoints)) {
    reader.Fail(reader.At() + "a number of profile points that is not a whole number from " +
                std::to_string(static_cast<long>(kMinNI + 1)) + " to " +
                std::to_string(static_cast<long>(maxPoints)));
  }
  reader.Next("its second header value");

  const long n = static_cast<long>(count);
  BodyProfile profile;
  RecordOrder order(n);
  ProgressClock clock;
  for (long k = 1; k <= n; ++k) {
    clock.Tick(progress, Stage::Geometry, 0.25 * static_cast<double>(k) / static_cast<double>(n));
    order.Take(reader, reader.Next("the number of " + PointName(k, n)), k);
    profile.x.push_back(reader.NextNumber("x of " + PointName(k, n)));
    profile.r.push_back(reader.NextNumber("r of " + PointName(k, n)));
  }
  order.RefuseSwappedRecords(reader);
  return profile;
}

void ReadBodyFile(ModelState& s, BodyWork& w, Progress& progress) {
  const BodyProfile profile = ReadBodyProfile(s.BodyFile, kMaxBodyPoints, progress);
  const auto n = static_cast<double>(profile.x.size());
  if (n != s.NI1) {
    s.NI1 = n;
    s.NI = s.NI1 - 1;
  }
  w.xI = Array1(ArrayLimit(s.NI1));
  w.rI = Array1(ArrayLimit(s.NI1));
  for (std::size_t k = 1; k <= profile.x.size(); ++k) {
    w.xI(k) = profile.x[k - 1];
    w.rI(k) = profile.r[k - 1];
  }
}

}  // namespace tarvenol
