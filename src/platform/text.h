#pragma once
// Small text helpers for 8-bit (Windows-1252) program text.
#include <string>
#include <string_view>
#include <vector>

namespace holvex {

// ASCII-only case folding: names in INI files and URL schemes are compared this way.
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Blanks and tabs removed from both ends.
std::string_view TrimBlanks(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

}  // namespace holvex
