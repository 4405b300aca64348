#pragma once
// The table of a sweep as files hold it: CSV, a header row naming the columns of the designs
// (sweep_design.h), then a design a row; fields separated by commas, a field in double quotes
// where it holds a comma, a quote (doubled) or a line break; blanks around a field, blank lines,
// a UTF-8 byte order mark and carriage returns are skipped. The table of results repeats each
// row's fields, then adds every figure a row may have, under the names body-figures and
// drag-figures print, and its warnings and error: one header whatever the rows, so that a table
// of results begun by an interrupted sweep is known by its header and its first rows' designs.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "study/sweep_design.h"

namespace tarvenol {

// The largest table of designs read: far more rows than a day's sweep.
inline constexpr std::size_t kMaxSweepTableBytes = std::size_t{64} << 20;

struct SweepTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // each row's fields, as many as it has
};

// The records of CSV text; a quote left open is refused, naming its line.
std::vector<std::vector<std::string>> CsvRecords(const std::string& text, const std::string& name);

// The table of designs at path (a regular file), its header's names checked: each a column of
// a design, none twice. A ProgramError naming the file and what is wrong.
SweepTable ReadSweepTable(const std::string& path);

// The text of the file at path, or none where there is no readable regular file there.
std::optional<std::string> ReadTextIfThere(const std::string& path);

// A row's columns by the header's names; a row with more fields than the header has names
// is refused.
DesignRow DesignOf(const SweepTable& table, std::size_t row);

// The header of the results of a table with this header, and a row of them: the row's own
// fields, then the outcome's.
std::string ResultsHeader(const std::vector<std::string>& header);
std::string ResultsRow(const std::vector<std::string>& fields, std::size_t columns,
                       const SweepOutcome& outcome);

// How many of the first rows of table the results text (a table of results written before)
// holds already, for the same header and the same designs, and their lines in it.
struct ResumedRows {
  std::size_t count = 0;
  std::size_t refused = 0;  // of them, with a message in the column error
  std::string lines;        // with their line breaks
};
ResumedRows RowsDone(const SweepTable& table, const std::string& results);

}  // namespace tarvenol
