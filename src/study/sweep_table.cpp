#include "study/sweep_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <sstream>

#include "boundary_layer/drag_table.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "results/body_report.h"

namespace tarvenol {
namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// Every name a row's outcome may carry, in the order the actions print them: body-figures'
// (a spheroid's Lamb's coefficients among them), then drag-figures'.
std::vector<std::string> FigureNames() {
  BodyReport every;
  every.spheroid.emplace();
  std::vector<std::string> names;
  for (const auto& [name, value] : BodyReportLines(every)) names.push_back(name);
  names.insert(names.end(), {"Cp_min", "x_Cp_min", "M_critical"});
  std::istringstream drag(DragFigureLines(BoundaryLayerResult{}));
  for (std::string name, value; drag >> name >> value;) names.push_back(name);
  return names;
}

std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos && Trimmed(text) == text) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Line(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) line += ',';
    line += Field(fields[k]);
  }
  return line + "\n";
}

// The shortest text that reads back as the same double; blank for none.
std::string Number(std::optional<double> v) {
  if (!v || std::isnan(*v)) return {};
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, *v).ptr);
}

ProgramError Unreadable(const std::string& path, const std::string& why) {
  return ProgramError("The table of designs " + ShownPath(path) + " cannot be read: " + why + ".");
}

// The file's bytes; a ProgramError for one that is not a regular file or is too large.
std::string ReadRegularFile(const std::string& path) {
  // Opened without waiting: a FIFO would block the open for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw Unreadable(path, std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw Unreadable(path, "it is not a regular file");
  }
  if (static_cast<std::size_t>(info.st_size) > kMaxSweepTableBytes) {
    ::close(fd);
    throw Unreadable(path,
                     "it is larger than " + std::to_string(kMaxSweepTableBytes >> 20) + " MiB");
  }
  std::string text;
  char block[1 << 16];
  for (ssize_t got; (got = ::read(fd, block, sizeof block)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || text.size() + static_cast<std::size_t>(got) > kMaxSweepTableBytes) {
      const std::string why = got < 0 ? std::strerror(errno) : "it grew while it was read";
      ::close(fd);
      throw Unreadable(path, why);
    }
    text.append(block, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return text;
}

}  // namespace

std::vector<std::vector<std::string>> CsvRecords(const std::string& text, const std::string& name) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, wasQuoted = false;
  long line = 1, opened = 0;
  const std::size_t start = text.rfind("\xef\xbb\xbf", 0) == 0 ? 3 : 0;
  const auto endField = [&] {
    record.push_back(wasQuoted ? field : Trimmed(field));
    field.clear();
    wasQuoted = false;
  };
  for (std::size_t k = start; k <= text.size(); ++k) {
    const char c = k < text.size() ? text[k] : '\n';
    if (quoted) {
      if (k == text.size()) {
        throw ProgramError("The table " + ShownPath(name) +
                           " cannot be read: the quote opened "
                           "on line " +
                           std::to_string(opened) + " is never closed.");
      }
      if (c == '"' && k + 1 < text.size() && text[k + 1] == '"') {
        field += '"';
        ++k;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
      line += c == '\n' ? 1 : 0;
    } else if (c == '"' && Trimmed(field).empty()) {
      field.clear();
      quoted = wasQuoted = true;
      opened = line;
    } else if (c == ',') {
      endField();
    } else if (c == '\n') {
      endField();
      // A blank line is no record.
      if (record.size() > 1 || !record[0].empty() || wasQuoted) records.push_back(record);
      record.clear();
      ++line;
      if (k + 1 == text.size()) break;
    } else if (!wasQuoted) {
      field += c;
    }
  }
  return records;
}

SweepTable ReadSweepTable(const std::string& path) {
  std::vector<std::vector<std::string>> records = CsvRecords(ReadRegularFile(path), path);
  if (records.empty()) throw Unreadable(path, "it holds no header row");
  SweepTable table{std::move(records.front()), {}};
  records.erase(records.begin());
  for (std::size_t k = 0; k < table.header.size(); ++k) {
    const std::string& name = table.header[k];
    if (std::find(table.header.begin(), table.header.begin() + static_cast<long>(k), name) !=
        table.header.begin() + static_cast<long>(k)) {
      throw Unreadable(path, "its header names the column " + Shown(name) + " twice");
    }
    if (!IsDesignColumn(name)) {
      throw Unreadable(path, "its header names the column " + Shown(name) +
                                 ", none of family, a, b, c, d, n, theta, path, ni, nj, alpha, "
                                 "mach, reynolds and transition");
    }
  }
  table.rows = std::move(records);
  return table;
}

std::optional<std::string> ReadTextIfThere(const std::string& path) {
  try {
    return ReadRegularFile(path);
  } catch (const ProgramError&) {
    return std::nullopt;
  }
}

DesignRow DesignOf(const SweepTable& table, std::size_t row) {
  const std::vector<std::string>& fields = table.rows[row];
  if (fields.size() > table.header.size()) {
    throw ProgramError("The row has " + std::to_string(fields.size()) +
                       " fields; the header names " + std::to_string(table.header.size()) +
                       " columns.");
  }
  DesignRow design;
  for (std::size_t k = 0; k < fields.size(); ++k) design.emplace_back(table.header[k], fields[k]);
  return design;
}

std::string ResultsHeader(const std::vector<std::string>& header) {
  std::vector<std::string> names = header;
  for (std::string& name : FigureNames()) names.push_back(std::move(name));
  names.insert(names.end(), {"warnings", "error"});
  return Line(names);
}

std::string ResultsRow(const std::vector<std::string>& fields, std::size_t columns,
                       const SweepOutcome& outcome) {
  std::vector<std::string> row(
      fields.begin(), fields.begin() + static_cast<long>(std::min(fields.size(), columns)));
  row.resize(columns);
  for (const std::string& name : FigureNames()) {
    std::optional<double> value;
    for (const auto& [n, v] : outcome.figures) value = n == name ? std::optional(v) : value;
    for (const auto& [n, v] : outcome.drag) value = n == name ? v : value;
    row.push_back(Number(value));
  }
  std::string warnings;
  for (const std::string& w : outcome.warnings) warnings += (warnings.empty() ? "" : " ") + w;
  row.push_back(warnings);
  row.push_back(outcome.error);
  return Line(row);
}

ResumedRows RowsDone(const SweepTable& table, const std::string& results) {
  ResumedRows done;
  std::vector<std::vector<std::string>> records;
  try {
    records = CsvRecords(results, "");
  } catch (const ProgramError&) {
    return done;
  }
  if (records.empty() || Line(records.front()) != ResultsHeader(table.header)) return done;
  const std::size_t width = records.front().size(), columns = table.header.size();
  for (std::size_t k = 1; k < records.size() && k - 1 < table.rows.size(); ++k) {
    std::vector<std::string> design = table.rows[k - 1];
    design.resize(columns);
    if (records[k].size() != width || !std::equal(design.begin(), design.end(), records[k].begin()))
      break;
    done.lines += Line(records[k]);
    ++done.count;
    if (!records[k].back().empty()) ++done.refused;
  }
  return done;
}

}  // namespace tarvenol
