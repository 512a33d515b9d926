#pragma once
// Texts of the progress dialog: sizes, rates and the time left, in decimal units
// (1 Kb = 1000 bytes). Two decimals with the given decimal separator; the overloads without
// one use the user's locale. Counts are 64-bit: a DVD image is larger than 4 GiB.
#include <cstdint>
#include <string>
#include <string_view>

namespace holvex {

std::string FormatSize(std::int64_t bytes, std::string_view decimal);
std::string FormatSize(std::int64_t bytes);
std::string FormatRate(std::int64_t bytesPerSecond, std::string_view decimal);
std::string FormatRate(std::int64_t bytesPerSecond);

// The estimate from the average rate so far: "12 sec.", "3 minutes" or "1h 30"; empty while
// nothing is done. A total of 0 gives the negated elapsed time, as the dialog shows it.
std::string FormatTimeLeft(std::int64_t elapsedMs, std::int64_t done, std::int64_t total);

// Nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// Bar position 0..100 for done of total bytes (total > 0).
int ProgressPercent(std::uint64_t done, std::uint64_t total);
// Average bytes per second; the + 1 keeps the divisor above zero in the first millisecond.
std::int64_t AverageRate(std::uint64_t done, std::uint32_t elapsedMs);

}  // namespace holvex
