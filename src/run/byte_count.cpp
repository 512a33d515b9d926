#include "run/byte_count.h"

#include <cmath>

namespace holvex {

namespace {
std::string Quotient(std::int64_t count, long double unit, const LocaleSeparators& seps) {
  auto hundredths = static_cast<std::int64_t>(std::llround(static_cast<long double>(count) * 100.0L / unit));
  return FormatHundredths(hundredths, seps);
}
}  // namespace

std::string FormatByteCount(std::int64_t count, const LocaleSeparators& seps) {
  // GB only from 10 GiB on: below that, megabytes stay readable.
  if (count >= 10737418240LL) return Quotient(count, 1073741824.0L, seps) + " GB";
  if (count >= 1048576) return Quotient(count, 1048576.0L, seps) + " MB";
  if (count >= 1024) return Quotient(count, 1024.0L, seps) + " KB";
  return std::to_string(count) + " Byte";
}

}  // namespace holvex
