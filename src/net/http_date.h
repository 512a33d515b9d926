#pragma once
// HTTP dates (RFC 1123, RFC 850, asctime and the cookie form "Wdy, DD-Mon-YYYY HH:MM:SS GMT")
// as seconds since 1970-01-01 UTC.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace holvex {

std::optional<std::int64_t> ParseHttpDate(std::string_view text);
// "Wdy, DD Mon YYYY HH:MM:SS GMT"
std::string FormatHttpDate(std::int64_t secondsSince1970);

}  // namespace holvex
