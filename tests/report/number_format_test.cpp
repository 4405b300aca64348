#include "report/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace tarvenol {
namespace {

std::string Format(double v, int places, char separator = '.') {
  char text[kMaxNumberText];
  return std::string(text, FormatNumber(text, v, places, separator));
}

TEST(NumberFormat, FourPlacesDropTrailingZerosButKeepOne) {
  const struct {
    double v;
    const char* text;
  } cases[] = {{0, "0.0"},
               {1, "1.0"},
               {0.5, "0.50"},
               {0.12, "0.120"},
               {0.05, "0.050"},
               {0.0625, "0.0625"},
               {0.146446609, "0.1464"},
               {-0.25, "-0.250"},
               {12.5, "12.50"},
               {100, "100.0"},
               {0.35355339, "0.3536"},
               {-1.5, "-1.50"},
               {123456.789, "123456.7890"},
               {1e20, "100000000000000000000.0"}};
  for (const auto& c : cases) EXPECT_EQ(Format(c.v, 4), c.text) << c.v;
}

TEST(NumberFormat, SixPlaces) {
  EXPECT_EQ(Format(0.5, 6), "0.50");
  EXPECT_EQ(Format(0.123456789, 6), "0.123457");
  EXPECT_EQ(Format(1.49863, 6), "1.498630");
  EXPECT_EQ(Format(-0.466134, 6), "-0.466134");
  EXPECT_EQ(Format(2.25, 6), "2.250");
}

TEST(NumberFormat, HalvesRoundAwayFromZeroOnTheFifteenDigitForm) {
  // 0.00005 is held as a little less than 5e-5, but its 15-digit form is exactly half.
  EXPECT_EQ(Format(0.00005, 4), "0.0001");
  EXPECT_EQ(Format(-0.00005, 4), "-0.0001");
  EXPECT_EQ(Format(0.00015, 4), "0.0002");
  EXPECT_EQ(Format(0.12345, 4), "0.1235");
  EXPECT_EQ(Format(0.00004999, 4), "0.0");
  EXPECT_EQ(Format(0.0000005, 6), "0.000001");
  EXPECT_EQ(Format(1.0000000000000049, 4), "1.0");
  EXPECT_EQ(Format(9.99995, 4), "10.0");
  EXPECT_EQ(Format(0.99999999, 4), "1.0");
  EXPECT_EQ(Format(999.99996, 4), "1000.0");
}

TEST(NumberFormat, TinyNegativesKeepTheirSignButNegativeZeroDoesNot) {
  EXPECT_EQ(Format(-1e-17, 4), "-0.0");
  EXPECT_EQ(Format(-6.123e-17, 6), "-0.0");
  EXPECT_EQ(Format(1e-17, 4), "0.0");
  EXPECT_EQ(Format(-0.0, 4), "0.0");
  EXPECT_EQ(Format(-0.00004, 4), "-0.0");
}

TEST(NumberFormat, TheSeparatorIsTheOneGiven) {
  EXPECT_EQ(Format(0.5, 4, ','), "0,50");
  EXPECT_EQ(Format(-12.25, 6, ','), "-12,250");
}

TEST(NumberFormat, ExtremeValuesStayWithinTheBuffer) {
  EXPECT_EQ(Format(1e308, 6).size(), 1u + 308u + 1u + 1u);
  EXPECT_EQ(Format(-1.7976931348623157e308, 6).substr(0, 6), "-17976");
  EXPECT_EQ(Format(5e-324, 6), "0.0");
  EXPECT_EQ(Format(NAN, 4), "NaN");
  EXPECT_EQ(Format(-INFINITY, 4), "-Infinity");
}

std::string ByDigits(double v, int places) {
  char text[kMaxNumberText];
  return std::string(text, FormatNumberByDigits(text, v, places, '.'));
}

TEST(NumberFormat, TheShortWayAgreesWithTheDigitsEverywhere) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-12, 7);
  for (int n = 0; n < 400000; ++n) {
    const double v = mantissa(random) * std::pow(10.0, exponent(random));
    for (int places : {4, 6}) ASSERT_EQ(Format(v, places), ByDigits(v, places)) << v;
  }
  // Halves of the last place and their neighbours a few bits away, where the 15-digit form
  // decides: decimal halves like 0.00005 are held a little off the half.
  std::uniform_int_distribution<std::uint32_t> whole(0, 999999);
  for (int n = 0; n < 100000; ++n) {
    for (int places : {4, 6}) {
      const double half = (whole(random) + 0.5) / std::pow(10.0, places);
      double v = half;
      for (int step = 0; step < 4; ++step) v = std::nextafter(v, 0.0);
      for (int step = 0; step < 9; ++step, v = std::nextafter(v, 1e9)) {
        ASSERT_EQ(Format(v, places), ByDigits(v, places)) << v;
        ASSERT_EQ(Format(-v, places), ByDigits(-v, places)) << -v;
      }
    }
  }
  for (const char* text : {"0.00005", "0.12345", "2.5e-7", "99.99995", "0.0000005", "12.34565"}) {
    const double v = std::strtod(text, nullptr);
    for (int places : {4, 6}) EXPECT_EQ(Format(v, places), ByDigits(v, places)) << text;
  }
}

}  // namespace
}  // namespace tarvenol
