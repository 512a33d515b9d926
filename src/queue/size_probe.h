#pragma once
// The size probe of an address: a HEAD request through the program's HTTP client.
#include <string>
#include <string_view>

namespace holvex {

class THttpClientBase;

// The response's Content-Length as decimal text, "-1" when it has none that fits 32 bits, and
// "0" when the request fails in any way (no message, no retry).
std::string ProbeSize(THttpClientBase& client, std::string_view url);

// The probe's text as a byte count for the size text; anything unreadable counts as 0.
long long ProbeResultBytes(const std::string& result);

}  // namespace holvex
