#include "report/report_locale.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cstdlib>
#include <string>

namespace tarvenol {
namespace {

// Sets LC_ALL for one test and puts back what was there.
class UserLocale {
 public:
  explicit UserLocale(const char* name) {
    if (const char* old = std::getenv("LC_ALL")) {
      previous_ = old;
      had_ = true;
    }
    setenv("LC_ALL", name, 1);
  }
  ~UserLocale() {
    if (had_) {
      setenv("LC_ALL", previous_.c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }

 private:
  std::string previous_;
  bool had_ = false;
};

bool Installed(const char* name) {
  locale_t l = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(0));
  if (l == static_cast<locale_t>(0)) return false;
  freelocale(l);
  return true;
}

TEST(ReportLocale, TheReportTakesTheUsersDecimalSeparator) {
  {
    UserLocale user("C");
    EXPECT_EQ(UserDecimalSeparator(), '.');
  }
  {
    UserLocale user("no_SUCH.locale");
    EXPECT_EQ(UserDecimalSeparator(), '.');
  }
  if (!Installed("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  UserLocale user("de_DE.UTF-8");
  EXPECT_EQ(UserDecimalSeparator(), ',');
  // The process locale itself is left as it was.
  EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "C");
}

}  // namespace
}  // namespace tarvenol
