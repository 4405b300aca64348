// A sweep in C++ alone, as the yardstick of the Python module's: every row of a CSV table of
// designs (a header row naming the columns, then one design a line, no quoted fields) read,
// solved and measured by SweepRow, one after the other, as tarvenol.sweep does serially.
// Prints the rows, their wall time and the process's processor time, and the sum of every figure
// of every row (the drag's too, where a row names a Reynolds number), which tells whether two
// sweeps gave the same bits. Usage: sweep_speed DESIGNS.csv

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "solver/threads.h"
#include "study/sweep_design.h"

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sweep_speed DESIGNS.csv\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> names = Fields(line);
  std::vector<tarvenol::DesignRow> rows;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = Fields(line);
    tarvenol::DesignRow row;
    for (std::size_t k = 0; k < names.size() && k < fields.size(); ++k) {
      row.emplace_back(names[k], fields[k]);
    }
    rows.push_back(row);
  }
  tarvenol::StartThreads();
  tarvenol::IgnoredProgress progress;
  double sum = 0;
  int failed = 0;
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  for (const tarvenol::DesignRow& row : rows) {
    const tarvenol::SweepOutcome outcome = tarvenol::SweepRow(row, progress);
    failed += outcome.error.empty() ? 0 : 1;
    for (const auto& [name, value] : outcome.figures) sum += value;
    for (const auto& [name, value] : outcome.drag) sum += value.value_or(0);
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  char text[32];
  *std::to_chars(text, text + sizeof text - 1, sum).ptr = '\0';
  std::printf("rows %zu\nfailed %d\nseconds %.3f\ncpu %.3f\nsum %s\n", rows.size(), failed,
              seconds.count(), cpu, text);
  return 0;
}
