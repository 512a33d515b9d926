// libFuzzer target: arbitrary bytes as the queue file load.hvq.
#include <cstddef>
#include <cstdint>

#include "queue/queue_fuzz_drivers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  holvex::fuzz::ReplayQueueFile({reinterpret_cast<const char*>(data), size});
  return 0;
}
