#pragma once
// The value of a Content-Length header: digits only, nothing else, no overflow.
#include <cstdint>
#include <optional>
#include <string_view>

namespace holvex {
std::optional<std::uint64_t> ParseContentLength(std::string_view text);
}
