#pragma once
// Numbers with the user's decimal and thousands separators, and the log's clock text.
#include <cstdint>
#include <string>

namespace holvex {

struct LocaleSeparators {
  std::string decimal = ",";
  std::string thousands = ".";
};

// The user's separators: from the Windows locale in the Windows build, from the C library's
// current locale natively.
LocaleSeparators UserLocaleSeparators();

// A value given in hundredths, printed with exactly two decimals and thousands grouping:
// 102400 gives "1.024,00" with German separators.
std::string FormatHundredths(std::int64_t hundredths, const LocaleSeparators& seps);

// "hh:mm:ss", 24-hour clock, two digits each.
std::string FormatClockTime(int hour, int minute, int second);
// The current local time in that form.
std::string CurrentClockTime();

}  // namespace holvex
