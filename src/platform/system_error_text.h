#pragma once
// The system's own text for a Win32 error code (FormatMessageA), without the line end.
#include <cstdint>
#include <string>

namespace holvex {
std::string SystemErrorText(std::uint32_t code);
}
