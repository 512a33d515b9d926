#include "transfer/paths.h"

#include <array>

#include "platform/text.h"

namespace holvex {

std::string UrlFileName(std::string_view urlOrPath) {
  std::string_view rest = urlOrPath;
  for (char separator : {'/', '\\'}) {
    size_t pos = rest.rfind(separator);
    if (pos != std::string_view::npos) rest.remove_prefix(pos + 1);
  }
  return std::string(rest);
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string path(directory);
  if (path.back() != '\\') path += '\\';
  path += name;
  return path;
}

std::string DirectoryPart(std::string_view path) {
  size_t pos = path.rfind('\\');
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ParentDirectory(std::string_view directory) {
  size_t pos = directory.find_last_of("\\:");
  return pos == std::string_view::npos ? std::string() : std::string(directory.substr(0, pos + 1));
}

bool IsReservedDeviceName(std::string_view name) {
  // Windows ignores trailing dots and blanks, and everything from the first dot on.
  size_t end = name.find_last_not_of(". ");
  if (end == std::string_view::npos) return false;
  std::string_view base = name.substr(0, end + 1);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  std::string upper = ToUpperAscii(base);
  static constexpr std::array<std::string_view, 6> kNames{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kNames)
    if (upper == device) return true;
  if (upper.size() == 4 && (StartsWith(upper, "COM") || StartsWith(upper, "LPT"))) {
    auto digit = static_cast<unsigned char>(upper[3]);
    // 0-9 and the superscripts 1, 2, 3 of Windows-1252.
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

bool IsUsableFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return false;
    if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) return false;
  }
  return !IsReservedDeviceName(name);
}

}  // namespace holvex
