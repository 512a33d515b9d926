// libFuzzer target: arbitrary server bytes through the probe client's response reading.
#include <cstddef>
#include <cstdint>

#include "net/fuzz_drivers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  holvex::fuzz::ReplayServerBytes({reinterpret_cast<const char*>(data), size});
  return 0;
}
