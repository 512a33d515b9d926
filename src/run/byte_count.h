#pragma once
// Byte counts of a running transfer as the user reads them: Byte, KB, MB or GB.
#include <cstdint>
#include <string>

#include "platform/locale_format.h"

namespace holvex {

std::string FormatByteCount(std::int64_t count, const LocaleSeparators& seps);

}  // namespace holvex
