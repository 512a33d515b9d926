// libFuzzer target: arbitrary text through the URL splitter and the target preparation.
#include <cstddef>
#include <cstdint>

#include "net/fuzz_drivers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  holvex::fuzz::ReplayUrlText({reinterpret_cast<const char*>(data), size});
  return 0;
}
