#pragma once
// Platform dates as TDateTime values; an invalid record raises DateConversionError.
#include <windows.h>

#include "transfer/date_time.h"

namespace holvex {

TDateTime SystemTimeToDateTime(const SYSTEMTIME& time);
// No conversion to local time: the value stays UTC.
TDateTime FileTimeToDateTime(const FILETIME& time);

}  // namespace holvex
