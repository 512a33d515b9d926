#pragma once
// What the fuzzers feed and what the corpus replay test runs again: arbitrary server bytes
// through the probe client's whole response reading, and arbitrary text through the URL
// splitter and the target preparation. Both throw only for faults (sanitizer reports and
// failed invariants abort); every expected failure of the client is caught inside.
#include <string_view>

namespace holvex::fuzz {

// The first byte chooses methods, receive piece size and route; the rest is what the server
// sends, one connection per part separated by "\n~~\n".
void ReplayServerBytes(std::string_view data);
void ReplayUrlText(std::string_view data);

}  // namespace holvex::fuzz
