// The action "solve" of the batch tool, run as a user runs it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;

int Batch(const std::string& environment, const std::string& args) {
  const std::string command =
      environment + " " + testing::BatchTool() + " " + args + " >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BatchSolve, SphereThenSolveWritesEverySectionInOrder) {
  TempWorkDir dir;
  ASSERT_EQ(Batch("", "sphere solve"), 0) << ReadFile("err.txt");
  const std::string report = ReadFile("Tarvenol.txt");
  std::size_t previous = 0;
  for (const char* title :
       {" Profile of the body of revolution", " Coordinates of the body of revolution",
        " Coordinates of panel corner points", " Coordinates of panel control points",
        " Cosine directors of panel axes", " Coordinates of panel corner points in panel axis",
        "Hess method - Normal velocities", "u Tangential velocities", "v Tangential velocities",
        "Source strengths", "1-Cp"}) {
    const std::size_t at = report.find(std::string(title) + "\r\n", previous);
    ASSERT_NE(at, std::string::npos) << title;
    previous = at + 1;
  }
  // Two empty lines between the panel sections and the matrices, one between the others.
  EXPECT_NE(report.find("  \r\n\r\n\r\nHess method - Normal velocities\r\n\r\n 0.50 "),
            std::string::npos);
  EXPECT_NE(report.find("\r\n\r\nSource strengths\r\n\r\n1.498630  "), std::string::npos);
  EXPECT_NE(report.find("\r\n\r\n1-Cp\r\n\r\n0.566509  "), std::string::npos);
}

TEST(BatchSolve, SolveSymmetricWritesTheSameStrengthsAndPressureWithoutTheMatrices) {
  std::string reports[2];
  for (const int symmetric : {0, 1}) {
    TempWorkDir dir;
    ASSERT_EQ(Batch("", symmetric != 0 ? "ni 12 nj 16 sphere solve-symmetric"
                                       : "ni 12 nj 16 sphere solve"),
              0)
        << ReadFile("err.txt");
    reports[symmetric] = ReadFile("Tarvenol.txt");
  }
  const std::string& full = reports[0];
  const std::string& symmetric = reports[1];
  const std::size_t matrices = full.find("\r\nHess method - Normal velocities\r\n");
  const std::size_t strengths = full.find("\r\nSource strengths\r\n");
  ASSERT_NE(matrices, std::string::npos);
  ASSERT_NE(strengths, std::string::npos);
  EXPECT_TRUE(symmetric.substr(0, matrices) == full.substr(0, matrices));
  const std::string notFormed =
      " The matrix was not formed: the flow was solved by the body's rotational symmetry.\r\n";
  EXPECT_EQ(symmetric.substr(matrices, symmetric.size() - (full.size() - strengths) - matrices),
            "\r\nHess method - Normal velocities\r\n\r\n" + notFormed +
                "\r\nu Tangential velocities\r\n\r\n" + notFormed +
                "\r\nv Tangential velocities\r\n\r\n" + notFormed);
  // The six-decimal values of the two solves meet here to the last digit.
  EXPECT_TRUE(symmetric.substr(symmetric.size() - (full.size() - strengths)) ==
              full.substr(strengths));
}

TEST(BatchSolve, SolveWithoutAGeometryAsksForOneAndWritesNothing) {
  TempWorkDir dir;
  EXPECT_EQ(Batch("", "solve"), 1);
  EXPECT_EQ(ReadFile("err.txt"), "tarvenol-batch: Geometriyi hazırla\n");
  EXPECT_EQ(ReadFile("Tarvenol.txt"), "");
  // The estimate --timings prints first has no panels to sample.
  EXPECT_EQ(Batch("", "--timings solve-symmetric"), 1);
  EXPECT_NE(ReadFile("err.txt").find("tarvenol-batch: Geometriyi hazırla\n"), std::string::npos);
}

TEST(BatchSolve, OneThreadAndTwoWriteTheSameReport) {
  for (const char* solve : {"solve", "solve-symmetric"}) {
    std::string reports[2];
    for (const int threads : {1, 2}) {
      TempWorkDir dir;
      ASSERT_EQ(Batch("OMP_NUM_THREADS=" + std::to_string(threads),
                      std::string("ni 12 nj 20 sphere ") + solve),
                0);
      reports[threads - 1] = ReadFile("Tarvenol.txt");
    }
    EXPECT_TRUE(reports[0] == reports[1]) << solve;
  }
}

}  // namespace
}  // namespace tarvenol
