#include "platform/locale_format.h"

#include <cstdio>

namespace holvex {

std::string FormatHundredths(std::int64_t hundredths, const LocaleSeparators& seps) {
  bool negative = hundredths < 0;
  // Work on the magnitude as unsigned so that the most negative value has one too.
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hundredths)
                                     : static_cast<std::uint64_t>(hundredths);
  std::string digits = std::to_string(magnitude / 100);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += seps.thousands;
    grouped += digits[i];
  }
  char cents[4];
  std::snprintf(cents, sizeof cents, "%02u", static_cast<unsigned>(magnitude % 100));
  return (negative ? "-" : "") + grouped + seps.decimal + cents;
}

std::string FormatClockTime(int hour, int minute, int second) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour % 100, minute % 100, second % 100);
  return text;
}

}  // namespace holvex
