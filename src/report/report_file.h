#pragma once
// The report file: emptied once at start-up, then every group of sections is appended in
// one open, write and close. Lines end in CR LF. Text is gathered in a buffer and written
// in large pieces, so a report of millions of values never lies in memory whole.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tarvenol {

// Opens the report, creating it when it does not exist, with flags besides; refuses anything but
// a regular file (or a link to one) without waiting on it. what names the step in a message.
int OpenReport(const std::string& path, int flags, const char* what);

class ReportWriter {
 public:
  // Opens the file for appending, creating it when it does not exist.
  ReportWriter(const std::string& path, char decimalSeparator);
  ~ReportWriter();
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  void Text(std::string_view text);
  // An index field: a blank, the digits of n, a blank.
  void Index(long n);
  // A value with 4 or 6 decimal places.
  void Number(double v, int places);
  void EndLine() { Text("\r\n"); }
  // Writes what is buffered and closes the file; a failed write or close is reported.
  void Close();

  char DecimalSeparator() const { return separator_; }

 private:
  void Flush();
  [[noreturn]] void Fail(const char* what);

  std::string path_;
  char separator_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
};

// The sections of one operation stand or fall together: unless the operation commits them, the
// report is cut back to the length it had when the operation began.
class ReportTransaction {
 public:
  explicit ReportTransaction(const std::string& path);
  ~ReportTransaction();
  ReportTransaction(const ReportTransaction&) = delete;
  ReportTransaction& operator=(const ReportTransaction&) = delete;

  void Commit() { committed_ = true; }

 private:
  std::string path_;
  std::uintmax_t length_ = 0;
  bool committed_ = false;
};

}  // namespace tarvenol
