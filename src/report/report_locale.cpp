#include "report/report_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace tarvenol {

char UserDecimalSeparator() {
  // A locale object of its own: the process locale stays as it is.
  locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, user);
  char separator = '.';
  if (radix != nullptr && std::strlen(radix) == 1 && radix[0] > ' ' && radix[0] < 127) {
    separator = radix[0];
  }
  freelocale(user);
  return separator;
}

}  // namespace tarvenol
