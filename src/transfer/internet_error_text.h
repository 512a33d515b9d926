#pragma once
// WinInet's own message for one of its error numbers (12001 and up), with the table's line
// end; empty when it has none.
#include <cstdint>
#include <string>

namespace holvex {
std::string InternetErrorText(std::uint32_t code);
}
