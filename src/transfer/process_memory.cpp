#include "transfer/process_memory.h"

#include <windows.h>
#include <psapi.h>

namespace holvex {

std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PagefileUsage;
}

}  // namespace holvex
