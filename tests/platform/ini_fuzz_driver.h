#pragma once
// What the INI fuzzer feeds and the corpus replay runs again: any bytes parsed as an INI
// text, one key set, the text written and parsed again. Failed invariants abort.
#include <string_view>

namespace holvex::fuzz {

// Up to the first three zero bytes: section, key and value to set; the rest is the text
// (without three zero bytes the whole input is the text, and a fixed key is set).
void ReplayIniText(std::string_view data);

}  // namespace holvex::fuzz
