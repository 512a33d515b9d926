#include "support/confined_name.h"

#include <algorithm>
#include <cctype>

namespace holvex::test {

namespace {

// Windows opens these names as devices whatever follows the first dot, in any letter case.
bool NamesADevice(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (base == device) return true;
  if (base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0)) {
    const auto last = static_cast<unsigned char>(base[3]);
    return std::isdigit(last) || last == 0xB9 || last == 0xB2 || last == 0xB3;  // also ¹ ² ³
  }
  return false;
}

}  // namespace

std::string WhyNotConfined(std::string_view name) {
  if (name.empty()) return "empty";
  if (name.size() > 255) return "longer than a file system name";
  if (name.find_first_not_of('.') == std::string_view::npos) return "dots only";
  if (name.find_first_of("\\/") != std::string_view::npos) return "separator";
  if (name.find(':') != std::string_view::npos) return "drive or stream";
  if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }))
    return "control character";
  if (name.find_first_of("<>\"|?*") != std::string_view::npos) return "wildcard or refused character";
  if (name.back() == '.' || name.back() == ' ') return "trailing dot or blank (Windows drops it)";
  if (NamesADevice(name)) return "device";
  return {};
}

}  // namespace holvex::test
