// libFuzzer target: arbitrary bytes as a link file for the import.
#include <cstddef>
#include <cstdint>

#include "queue/queue_fuzz_drivers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  holvex::fuzz::ReplayLinkFile({reinterpret_cast<const char*>(data), size});
  return 0;
}
