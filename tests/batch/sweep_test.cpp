// The sweep through the batch tool: a row's figures are the study's for the same design, a bad
// row has its message in its own row and the others go on, and a sweep run again takes the rows
// already written instead of solving them again.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "batch_runner.h"
#include "core/progress.h"
#include "study/sweep_table.h"
#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol::testing {
namespace {

const std::string kDesigns =
    "family, a, b, c, d, n, theta, path, ni, nj, mach\n"
    "myring, 0.2, 0.5, 0.3, 0.16, 2, 20, , 40, 8, 0.5\n"
    "spheroid, 0.5, 0.125, , , , , , 30, 8,\n"
    "file, , , , , , , mine.body, , 8,\n"
    "myring, 0.2, 0.5, 0.3, 0.16, 2, 80, , 40, 8,\n"
    "\n"
    "spheroid, 0.5\n";

TEST(BatchSweep, RowsInOrderBadOnesSaidAndSolvedRowsNotSolvedAgain) {
  TempWorkDir dir;
  WriteFile("designs.csv", kDesigns);
  WriteFile("mine.body", ReadFile(ExamplesDir() + "/ovoid.body"));
  const BatchRun run = Batch("sweep designs.csv out.csv");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("2 of the 5 designs of \"designs.csv\" were refused or failed"),
            std::string::npos)
      << run.err;
  const std::string out = ReadFile("out.csv");
  const SweepTable designs = ReadSweepTable("designs.csv");
  std::string expected = ResultsHeader(designs.header);
  IgnoredProgress progress;
  for (std::size_t k = 0; k < designs.rows.size(); ++k) {
    expected += ResultsRow(designs.rows[k], designs.header.size(),
                           SweepRow(DesignOf(designs, k), progress));
  }
  EXPECT_EQ(out, expected);
  const auto records = CsvRecords(out, "out.csv");
  ASSERT_EQ(records.size(), 6U);
  const auto column = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find(records[0].begin(), records[0].end(), name) -
                                    records[0].begin());
  };
  // The Mach number's row has its critical Mach number; the others have none.
  EXPECT_NE(records[1][column("M_critical")], "");
  EXPECT_EQ(records[2][column("M_critical")], "");
  EXPECT_NE(records[2][column("k1_lamb")], "");
  EXPECT_EQ(records[3][column("coarse_ni")], "40");
  EXPECT_NE(records[4][column("error")].find("The tail angle theta"), std::string::npos);
  EXPECT_NE(records[5][column("error")].find("A spheroid needs the column b."), std::string::npos);
  // The file's row is not read again, nor any other solved again.
  std::filesystem::remove("mine.body");
  const BatchRun again = Batch("sweep designs.csv out.csv");
  EXPECT_NE(again.err.find("the first 5 of 5 rows are in \"out.csv\" already"), std::string::npos)
      << again.err;
  EXPECT_EQ(ReadFile("out.csv"), out);
  // A changed design from the third row on: the rows before it are kept, the rest solved.
  WriteFile("designs.csv", kDesigns.substr(0, kDesigns.find("file,")) +
                               "file, , , , , , , "
                               "mine.body, , 16,\n");
  const BatchRun changed = Batch("sweep designs.csv out.csv");
  EXPECT_NE(changed.err.find("the first 2 of 3 rows"), std::string::npos) << changed.err;
  EXPECT_NE(ReadFile("out.csv").find("\"The body file \"\"mine.body\"\" cannot be opened"),
            std::string::npos);
}

TEST(BatchSweep, ASignalStopsItBetweenRowsWithTheLastBlockWhole) {
  TempWorkDir dir;
  std::string designs = "family,a,b,c,d,n,theta\n";
  for (int k = 0; k < 5000; ++k)
    designs += "myring,0.3," + std::to_string(k) + "e-4,0.5,0.2,2,20\n";
  WriteFile("designs.csv", designs);
  RunningBatch running({"sweep", "designs.csv", "out.csv"});
  // Polled: the first block is written after kSweepBlockSeconds of rows.
  for (int tries = 0; tries < 600 && !std::filesystem::exists("out.csv"); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(std::filesystem::exists("out.csv"));
  const std::string block = ReadFile("out.csv");
  running.Signal(SIGINT);
  const BatchRun run = running.Wait();
  EXPECT_EQ(run.status, 128 + SIGINT) << run.err;
  const std::string out = ReadFile("out.csv");
  // The file a block wrote, whole: as the first block left it, or a later one, each row whole.
  EXPECT_EQ(out.substr(0, block.size()), block);
  const auto records = CsvRecords(out, "out.csv");
  ASSERT_GT(records.size(), 1U);
  ASSERT_LT(records.size(), 5001U);
  for (const auto& record : records) EXPECT_EQ(record.size(), records[0].size());
  EXPECT_EQ(out.back(), '\n');
}

TEST(BatchSweep, ATableThatIsNoneIsRefusedAndNothingWritten) {
  TempWorkDir dir;
  WriteFile("unknown.csv", "family,volume\nmyring,1\n");
  WriteFile("twice.csv", "family,a,a\n");
  WriteFile("open.csv", "family,path\nfile,\"x.body\n");
  for (const auto& [table, said] :
       {std::pair{"unknown.csv", "its header names the column \"volume\", none of family"},
        std::pair{"twice.csv", "its header names the column \"a\" twice"},
        std::pair{"open.csv", "the quote opened on line 2 is never closed"},
        std::pair{"none.csv", "cannot be read: No such file"}, std::pair{".", "not a regular"}}) {
    const BatchRun run = Batch(std::string("sweep ") + table + " out.csv");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists("out.csv"));
}

}  // namespace
}  // namespace tarvenol::testing
