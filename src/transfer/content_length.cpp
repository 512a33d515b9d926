#include "transfer/content_length.h"

#include <limits>

#include "platform/text.h"

namespace holvex {

std::optional<std::uint64_t> ParseContentLength(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace holvex
