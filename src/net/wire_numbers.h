#pragma once
// Numbers read from the wire: the whole text must be the number and it must fit, so that
// "12abc", "" or a thirty-digit length never pass as a value.
#include <cstdint>
#include <optional>
#include <string_view>

namespace holvex {

// Optional "+" or "-", then one or more decimal digits.
std::optional<std::int64_t> ParseDecimal(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);
// One or more hexadecimal digits; values beyond 64 bits read as UINT64_MAX (too large anyway).
std::optional<std::uint64_t> ParseHexSaturating(std::string_view text);

}  // namespace holvex
