#include "report/report_file.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

#include "core/program_error.h"
#include "report/number_format.h"

namespace tarvenol {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

std::string FileFault(const std::string& path, const char* what, int error) {
  return "Cannot " + std::string(what) + " the report file " + path + ": " + std::strerror(error);
}

}  // namespace

void EmptyReport(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw ProgramError(FileFault(path, "create", errno));
  if (std::fclose(file) != 0) throw ProgramError(FileFault(path, "create", errno));
}

ReportWriter::ReportWriter(const std::string& path, char decimalSeparator)
    : path_(path), separator_(decimalSeparator) {
  file_ = std::fopen(path.c_str(), "ab");
  if (file_ == nullptr) throw ProgramError(FileFault(path, "open", errno));
  buffer_.reserve(kFlushSize + 4096);
}

ReportWriter::~ReportWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

void ReportWriter::Text(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= kFlushSize) Flush();
}

void ReportWriter::Index(long n) {
  char field[24];
  field[0] = ' ';
  char* end = std::to_chars(field + 1, field + sizeof field - 1, n).ptr;
  *end++ = ' ';
  Text(std::string_view(field, static_cast<std::size_t>(end - field)));
}

void ReportWriter::Number(double v, int places) {
  char text[kMaxNumberText];
  char* end = FormatNumber(text, v, places, separator_);
  Text(std::string_view(text, static_cast<std::size_t>(end - text)));
}

void ReportWriter::Flush() {
  if (buffer_.empty()) return;
  errno = 0;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) Fail("write");
  buffer_.clear();
}

void ReportWriter::Close() {
  Flush();
  errno = 0;
  if (std::fflush(file_) != 0) Fail("write");
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) throw ProgramError(FileFault(path_, "write", errno));
}

void ReportWriter::Fail(const char* what) {
  const int error = errno != 0 ? errno : EIO;
  std::fclose(file_);
  file_ = nullptr;
  throw ProgramError(FileFault(path_, what, error));
}

ReportTransaction::ReportTransaction(const std::string& path) : path_(path) {
  std::error_code missing;
  length_ = std::filesystem::file_size(path, missing);
  if (missing) length_ = 0;
}

ReportTransaction::~ReportTransaction() {
  if (committed_) return;
  // Nothing more can be done about a report that cannot be cut back: the operation's own
  // message already says why it failed.
  std::error_code ignored;
  const std::uintmax_t now = std::filesystem::file_size(path_, ignored);
  if (!ignored && now > length_) std::filesystem::resize_file(path_, length_, ignored);
}

}  // namespace tarvenol
