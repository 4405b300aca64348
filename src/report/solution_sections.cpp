#include "report/solution_sections.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "report/number_format.h"
#include "report/report_file.h"

namespace tarvenol {
namespace {

constexpr int kMatrixPlaces = 4;
constexpr int kSolutionPlaces = 6;
// Matrix lines formatted side by side before they are written in order.
constexpr int kLinesPerBatch = 64;

constexpr std::string_view kMatrixTitles[] = {"Hess method - Normal velocities",
                                              "u Tangential velocities", "v Tangential velocities"};
constexpr std::string_view kSourceStrengthsTitle = "Source strengths";
constexpr std::string_view kOneMinusCpTitle = "1-Cp";

// A line end, "\r\n", in bytes.
constexpr double kLineEnd = 2;
// A value of a panel table with "#0.#####0" and two blanks: "-0.466134  " and "1.745069  ", a
// few shorter where trailing zeros are dropped.
constexpr double kBytesPerSolutionValue = 10.3;

void Title(ReportWriter& out, std::string_view title) {
  out.EndLine();
  out.Text(title);
  out.EndLine();
  out.EndLine();
}

double TitleBytes(std::string_view title) {
  return static_cast<double>(title.size()) + 3 * kLineEnd;
}

// About the bytes of a panel table of ni rows of nj values.
double PanelTableBytes(std::string_view title, double ni, double nj) {
  return TitleBytes(title) + ni * (nj * kBytesPerSolutionValue + kLineEnd);
}

// One line of a matrix, formatted in place. Its storage grows to the longest line met and is
// kept for the next, so that most lines are written without allocating or copying.
struct LineText {
  std::string storage;
  std::size_t size = 0;
  std::string_view Text() const { return {storage.data(), size}; }
};

// For columns 1..count: a blank and the value with "#0.###0"; then the line end.
void FormatMatrixLine(LineText& line, const double* row, int count, char separator) {
  constexpr std::size_t kMostPerValue = 1 + kMaxNumberText;
  std::size_t size = 0;
  for (int n = 1; n <= count; ++n) {
    if (line.storage.size() - size < kMostPerValue) {
      line.storage.resize(std::max(2 * line.storage.size(), size + kMostPerValue + 2));
    }
    char* out = line.storage.data() + size;
    *out++ = ' ';
    out = FormatNumber(out, row[n], kMatrixPlaces, separator);
    size = static_cast<std::size_t>(out - line.storage.data());
  }
  if (line.storage.size() - size < 2) line.storage.resize(size + 2);
  line.storage[size] = '\r';
  line.storage[size + 1] = '\n';
  line.size = size + 2;
}

// How far the matrix section has come: lines written before this block, and in all.
struct MatrixProgress {
  Progress& progress;
  double linesBefore;
  double lines;
};

// The lines are formatted in parallel, a batch at a time, while one thread first writes the
// batch before. Worksharing and barriers only: every thread sees the same loop.
void MatrixBlock(ReportWriter& out, std::string_view title, const Array2& a, int rows, int columns,
                 const MatrixProgress& progress) {
  Title(out, title);
  std::vector<LineText> batches[2] = {std::vector<LineText>(kLinesPerBatch),
                                      std::vector<LineText>(kLinesPerBatch)};
  const char separator = out.DecimalSeparator();
  std::exception_ptr failure;
  // Whether to stop after the batch of each parity, one flag per parity: a flag is set during a
  // batch and read after its closing barrier, and the next batch sets the other one, while a
  // slower thread may still be reading this one.
  bool stop[2] = {false, false};
  bool outOfMemory[2] = {false, false};
#pragma omp parallel shared(out, a, rows, columns, separator, batches, failure, stop, outOfMemory)
  {
    int pending = 0;  // lines of the other batch still to be written
    for (int first = 1, b = 0; first <= rows || pending > 0; first += kLinesPerBatch, b ^= 1) {
      const int count = std::clamp(rows - first + 1, 0, kLinesPerBatch);
#pragma omp master
      {
        try {
          for (int r = 0; r < pending; ++r) {
            out.Text(batches[b ^ 1][static_cast<std::size_t>(r)].Text());
          }
          const double written = progress.linesBefore + std::min(first - 1, rows);
          Step(progress.progress, Stage::MatrixReport, written / progress.lines);
        } catch (...) {
          failure = std::current_exception();
          stop[b] = true;
        }
      }
#pragma omp for schedule(dynamic)
      for (int r = 0; r < count; ++r) {
        try {
          FormatMatrixLine(batches[b][static_cast<std::size_t>(r)],
                           a.Row(static_cast<std::size_t>(first) + static_cast<std::size_t>(r)),
                           columns, separator);
        } catch (const std::bad_alloc&) {
#pragma omp atomic write
          outOfMemory[b] = true;
        }
      }
      // The barrier at the end of the loop above makes this batch's flags the same for all.
      if (stop[b] || outOfMemory[b]) break;
      pending = count;
    }
  }
  if (failure) std::rethrow_exception(failure);
  if (outOfMemory[0] || outOfMemory[1]) throw std::bad_alloc();
}

// One line per panel row i, each value with "#0.#####0" and two blanks.
void PanelTable(const ModelState& s, std::string_view title, const Array2& a) {
  ReportWriter out(s.OutFile, s.DecimalSeparator);
  Title(out, title);
  for (int i = 1; i <= LoopEnd(s.NI); ++i) {
    for (int j = 1; j <= LoopEnd(s.NJ); ++j) {
      out.Number(a(i, j), kSolutionPlaces);
      out.Text("  ");
    }
    out.EndLine();
  }
  out.Close();
}

}  // namespace

void PrintVelocityMatrices(const ModelState& s, const Array2& Vn, const Array2& Vu,
                           const Array2& Vv, int NPan, int NPan1, Progress& progress) {
  ReportWriter out(s.OutFile, s.DecimalSeparator);
  const double lines = 3.0 * NPan;
  MatrixBlock(out, kMatrixTitles[0], Vn, NPan, NPan1, {progress, 0, lines});
  MatrixBlock(out, kMatrixTitles[1], Vu, NPan, NPan, {progress, 1.0 * NPan, lines});
  MatrixBlock(out, kMatrixTitles[2], Vv, NPan, NPan, {progress, 2.0 * NPan, lines});
  out.Close();
}

void PrintMatricesNotFormed(const ModelState& s) {
  ReportWriter out(s.OutFile, s.DecimalSeparator);
  for (const std::string_view title : kMatrixTitles) {
    Title(out, title);
    out.Text(kMatrixNotFormed);
    out.EndLine();
  }
  out.Close();
}

void PrintSourceStrengths(const ModelState& s, const Array2& Sigma) {
  PanelTable(s, kSourceStrengthsTitle, Sigma);
}

void PrintOneMinusCp(const ModelState& s, const Array2& OneMinusCp) {
  PanelTable(s, kOneMinusCpTitle, OneMinusCp);
}

double MatrixValuesBytes(const std::vector<double>& values, char separator) {
  double bytes = 0;
  char text[kMaxNumberText];
  for (const double v : values) {
    bytes += 1 + static_cast<double>(FormatNumber(text, v, kMatrixPlaces, separator) - text);
  }
  return bytes;
}

double VelocityMatricesBytes(double valueBytes, double NPan) {
  double bytes = valueBytes + 3 * NPan * kLineEnd;
  for (const std::string_view title : kMatrixTitles) bytes += TitleBytes(title);
  return bytes;
}

double MatricesNotFormedBytes() {
  double bytes = 0;
  for (const std::string_view title : kMatrixTitles) {
    bytes += TitleBytes(title) + static_cast<double>(kMatrixNotFormed.size()) + kLineEnd;
  }
  return bytes;
}

double SolutionTablesBytes(double ni, double nj) {
  return PanelTableBytes(kSourceStrengthsTitle, ni, nj) + PanelTableBytes(kOneMinusCpTitle, ni, nj);
}

}  // namespace tarvenol
