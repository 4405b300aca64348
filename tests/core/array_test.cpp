#include "core/array.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tarvenol {
namespace {

TEST(DenseArray, RunsFromZeroToEachLimitAndStartsAtZero) {
  Array3 a(2, 3, 4);
  EXPECT_EQ(a.Size(), 3u * 4u * 5u);
  EXPECT_EQ(a.Limit(0), 2u);
  EXPECT_EQ(a.Limit(2), 4u);
  for (int i = 0; i <= 2; ++i) {
    for (int j = 0; j <= 3; ++j) {
      for (int k = 0; k <= 4; ++k) EXPECT_EQ(a(i, j, k), 0);
    }
  }
  a(2, 3, 4) = 7;
  EXPECT_EQ(a(2, 3, 4), 7);
}

TEST(DenseArray, RowsAreContiguous) {
  Array2 a(3, 2);
  a(2, 1) = 5;
  EXPECT_EQ(a.Row(2)[1], 5);
  EXPECT_EQ(&a(3, 0), a.Row(2) + 3);
}

TEST(DenseArray, ReplacingDiscardsTheOldContents) {
  DenseArray<std::int16_t, 2> a(4, 4);
  a(3, 3) = 4;
  a = DenseArray<std::int16_t, 2>(2, 2);
  EXPECT_EQ(a(2, 2), 0);
  EXPECT_EQ(a.Limit(0), 2u);
  EXPECT_TRUE(Array1().Empty());
}

#ifdef TARVENOL_CHECKED
TEST(DenseArrayDeathTest, AnIndexOutsideItsLimitStopsTheProgram) {
  Array2 a(2, 2);
  EXPECT_DEATH(a(3, 0) = 1, "outside 0..2");
  EXPECT_DEATH(a(0, -1) = 1, "outside");
  EXPECT_DEATH(Array1()(0) = 1, "outside");
}
#endif

}  // namespace
}  // namespace tarvenol
