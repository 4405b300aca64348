#include "core/text_number.h"
#include "core/counts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace tarvenol {
namespace {

TEST(TextToNumber, ReadsTheNumberATextBeginsWith) {
  EXPECT_EQ(TextToNumber("4"), 4);
  EXPECT_EQ(TextToNumber("  12"), 12);
  EXPECT_EQ(TextToNumber("\t7"), 7);
  EXPECT_EQ(TextToNumber("12abc"), 12);
  EXPECT_EQ(TextToNumber("30.5"), 30.5);
  EXPECT_EQ(TextToNumber("-90"), -90);
  EXPECT_EQ(TextToNumber("+3"), 3);
  EXPECT_EQ(TextToNumber(".25"), 0.25);
  EXPECT_EQ(TextToNumber("5."), 5);
  EXPECT_EQ(TextToNumber("1e3"), 1000);
  EXPECT_EQ(TextToNumber("2.5E-1x"), 0.25);
  EXPECT_EQ(TextToNumber("4.5"), 4.5);
}

TEST(TextToNumber, AnExponentWithoutDigitsEndsTheNumberBeforeIt) {
  EXPECT_EQ(TextToNumber("1e"), 1);
  EXPECT_EQ(TextToNumber("2e+"), 2);
  EXPECT_EQ(TextToNumber("3E-x"), 3);
}

TEST(TextToNumber, ATextThatDoesNotBeginWithANumberGivesZero) {
  for (const char* text : {"", "   ", "abc", "-", "+", ".", "-.", "e5", "x12"}) {
    EXPECT_EQ(TextToNumber(text), 0) << text;
  }
  EXPECT_EQ(TextToNumber("0,25"), 0);  // a comma is no decimal point
  EXPECT_EQ(TextToNumber("nan"), 0);
  EXPECT_EQ(TextToNumber("inf"), 0);
}

TEST(TextToNumber, NumbersBeyondADoubleGiveInfinityOrZero) {
  EXPECT_EQ(TextToNumber("1e999"), HUGE_VAL);
  EXPECT_EQ(TextToNumber("-1e999"), -HUGE_VAL);
  EXPECT_EQ(TextToNumber(std::string(400, '9')), HUGE_VAL);
  EXPECT_EQ(TextToNumber("1e-999"), 0);
  EXPECT_EQ(TextToNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(TextToNumber, ThePrefixKnowsItsLength) {
  const auto number = ReadNumberPrefix(" 12.5e1 rest");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->value, 125);
  EXPECT_EQ(number->length, 7u);
  EXPECT_FALSE(ReadNumberPrefix("x"));
}

TEST(TextToNumber, TheProcessLocaleDoesNotChangeTheDecimalPoint) {
  bool tried = false;
  for (const char* name : {"de_DE.UTF-8", "tr_TR.UTF-8", "fr_FR.UTF-8", "de_DE", "tr_TR"}) {
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    tried = true;
    EXPECT_EQ(TextToNumber("0.25"), 0.25) << name;
    EXPECT_EQ(TextToNumber("0,25"), 0) << name;
  }
  std::setlocale(LC_ALL, "C");
  if (!tried) GTEST_SKIP() << "no locale with a decimal comma is installed";
}

TEST(IsWholeCount, AcceptsWholeNumbersFromOneToTheLimit) {
  EXPECT_TRUE(IsWholeCount(1, 1, 100));
  EXPECT_TRUE(IsWholeCount(100, 1, 100));
  for (double bad : {0.0, -1.0, 4.5, 101.0, double(NAN), double(INFINITY)}) {
    EXPECT_FALSE(IsWholeCount(bad, 1, 100)) << bad;
  }
}

}  // namespace
}  // namespace tarvenol
