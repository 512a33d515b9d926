#include <windows.h>

#include "platform/locale_format.h"

namespace holvex {

namespace {
std::string LocaleText(LCTYPE type, const char* fallback) {
  char buf[16] = {};
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return n > 1 ? std::string(buf, static_cast<size_t>(n - 1)) : std::string(fallback);
}
}  // namespace

LocaleSeparators UserLocaleSeparators() {
  return LocaleSeparators{LocaleText(LOCALE_SDECIMAL, "."), LocaleText(LOCALE_STHOUSAND, ",")};
}

std::string CurrentClockTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatClockTime(now.wHour, now.wMinute, now.wSecond);
}

}  // namespace holvex
