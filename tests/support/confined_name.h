#pragma once
// An independent statement of what a saved file's name may be: one name inside the download
// folder that opens a plain disk file there. The tests and fuzzers hold the program's own
// rule (SavedFileName) against it.
#include <string>
#include <string_view>

namespace holvex::test {

// Empty when `name`, joined to a folder, names a plain file directly inside it; otherwise
// why not ("separator", "drive or stream", "device", ...).
std::string WhyNotConfined(std::string_view name);

}  // namespace holvex::test
