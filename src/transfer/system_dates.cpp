#include "transfer/system_dates.h"

namespace holvex {

TDateTime SystemTimeToDateTime(const SYSTEMTIME& t) {
  return EncodeDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

TDateTime FileTimeToDateTime(const FILETIME& time) {
  SYSTEMTIME system{};
  FileTimeToSystemTime(&time, &system);  // a failure leaves the record zero, which is refused
  return SystemTimeToDateTime(system);
}

}  // namespace holvex
