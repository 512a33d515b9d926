// libFuzzer target: arbitrary bytes as an INI text, one key set, written and read again.
#include <cstddef>
#include <cstdint>

#include "platform/ini_fuzz_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  holvex::fuzz::ReplayIniText({reinterpret_cast<const char*>(data), size});
  return 0;
}
