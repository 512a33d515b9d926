#include "net/wire_numbers.h"

#include <limits>

namespace holvex {

std::optional<std::int64_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  constexpr std::uint64_t kMaxMagnitude = std::uint64_t{1} << 63;  // |INT64_MIN|
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    unsigned digit = static_cast<unsigned>(c - '0');
    if (value > (kMaxMagnitude - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  if (!negative && value == kMaxMagnitude) return std::nullopt;
  if (negative) return value == kMaxMagnitude ? std::numeric_limits<std::int64_t>::min()
                                              : -static_cast<std::int64_t>(value);
  return static_cast<std::int64_t>(value);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  auto value = ParseDecimal(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
      *value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

std::optional<std::uint64_t> ParseHexSaturating(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value > (std::numeric_limits<std::uint64_t>::max() >> 4) ? std::numeric_limits<std::uint64_t>::max()
                                                                      : (value << 4) | digit;
  }
  return value;
}

}  // namespace holvex
