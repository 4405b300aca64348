// Every saved fuzz case, the seeds and the findings kept as regressions, replayed in the
// ordinary test run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_checks.h"

namespace tarvenol::fuzz {
namespace {

void Replay(const char* corpus, void (*check)(const std::uint8_t*, std::size_t)) {
  const auto dir = std::filesystem::path(TARVENOL_FUZZ_CORPUS) / corpus;
  int cases = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    SCOPED_TRACE(entry.path().string());
    check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++cases;
  }
  EXPECT_GT(cases, 0);
}

TEST(FuzzCorpus, BodyFiles) {
  Replay("body_file", CheckBodyFile);
}
TEST(FuzzCorpus, PointsTables) {
  Replay("points_table", CheckPointsTable);
}
TEST(FuzzCorpus, TextNumbers) {
  Replay("text_number", CheckTextNumber);
}
TEST(FuzzCorpus, NumberFormats) {
  Replay("number_format", CheckNumberFormat);
}
TEST(FuzzCorpus, CommandLines) {
  Replay("command_line", CheckCommandLine);
}

}  // namespace
}  // namespace tarvenol::fuzz
