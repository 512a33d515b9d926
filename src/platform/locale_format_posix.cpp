#include <clocale>
#include <ctime>

#include "platform/locale_format.h"

namespace holvex {

LocaleSeparators UserLocaleSeparators() {
  const std::lconv* lc = std::localeconv();
  LocaleSeparators seps;
  seps.decimal = (lc && lc->decimal_point && *lc->decimal_point) ? lc->decimal_point : ".";
  seps.thousands = (lc && lc->thousands_sep) ? lc->thousands_sep : "";
  return seps;
}

std::string CurrentClockTime() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return FormatClockTime(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace holvex
