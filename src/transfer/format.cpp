#include "transfer/format.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/locale_format.h"

namespace holvex {

namespace {

// What "%.2f" prints for value, with the locale's decimal separator. std::to_chars gives the
// same digits as printf, several times faster: the dialog formats sizes for every block.
std::string TwoDecimals(double value, std::string_view decimal) {
  char text[48];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
  if (error != std::errc()) return {};
  std::string_view digits(text, static_cast<size_t>(end - text));
  size_t point = digits.find('.');
  std::string out(digits.substr(0, point));
  out += decimal;
  out += digits.substr(point + 1);
  return out;
}

std::string ScaledText(std::int64_t count, std::string_view decimal, const char* units, const char* kilo,
                       const char* mega) {
  if (count < 1000) return std::to_string(count) + units;
  if (count < 1000000) return TwoDecimals(count / 1000.0, decimal) + kilo;
  return TwoDecimals(count / 1000000.0, decimal) + mega;
}

template <typename Int>
Int Clamped(double value) {
  if (value >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  if (value <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  return static_cast<Int>(value);
}

}  // namespace

std::string FormatSize(std::int64_t bytes, std::string_view decimal) {
  return ScaledText(bytes, decimal, " bytes", " Kb", " Mb");
}
std::string FormatSize(std::int64_t bytes) { return FormatSize(bytes, UserLocaleSeparators().decimal); }

std::string FormatRate(std::int64_t bytesPerSecond, std::string_view decimal) {
  return ScaledText(bytesPerSecond, decimal, " bytes/sec", " Kb/sec", " Mb/sec");
}
std::string FormatRate(std::int64_t bytesPerSecond) {
  return FormatRate(bytesPerSecond, UserLocaleSeparators().decimal);
}

double RoundHalfEven(double value) {
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string FormatTimeLeft(std::int64_t elapsedMs, std::int64_t done, std::int64_t total) {
  if (done <= 0) return {};
  // In floating point: total - done cannot overflow, whatever a server announced.
  double left = static_cast<double>(total) - static_cast<double>(done);
  double ms = RoundHalfEven(left * static_cast<double>(elapsedMs) / static_cast<double>(done));
  double s = RoundHalfEven(ms / 1000);
  double m = RoundHalfEven(s / 60);
  double h = RoundHalfEven(m / 60);
  // Clamped: an absurd announced size must not make the conversion undefined.
  auto whole = [](double v) { return std::to_string(Clamped<long long>(v)); };
  if (m == 0 && h == 0) return whole(s) + " sec.";
  if (h > 0) {
    auto minutes = Clamped<long long>(m);
    return std::to_string(minutes / 60) + "h " + std::to_string(minutes % 60);
  }
  return whole(m) + " minutes";
}

int ProgressPercent(std::uint64_t done, std::uint64_t total) {
  // Exact in a double for every count below 2^53 / 100 bytes (90 TB).
  double exact = static_cast<double>(done) * 100 / static_cast<double>(total);
  return Clamped<int>(RoundHalfEven(exact));
}

std::int64_t AverageRate(std::uint64_t done, std::uint32_t elapsedMs) {
  return Clamped<std::int64_t>(RoundHalfEven(static_cast<double>(done) / (elapsedMs + 1.0) * 1000));
}

}  // namespace holvex
