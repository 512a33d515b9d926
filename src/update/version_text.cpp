#include "update/version_text.h"

#include <windows.h>

#include <vector>

namespace holvex {

namespace {
// An executable without a version resource does not know its version: it asks the update
// service as the oldest version would.
constexpr const char* kUnknownVersion = "0.0.0.0";

std::string JoinVersion(DWORD mostSignificant, DWORD leastSignificant) {
  return std::to_string(HIWORD(mostSignificant)) + "." + std::to_string(LOWORD(mostSignificant)) + "." +
         std::to_string(HIWORD(leastSignificant)) + "." + std::to_string(LOWORD(leastSignificant));
}
}  // namespace

std::string ProgramVersionText() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return kUnknownVersion;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return kUnknownVersion;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path, 0, size, data.data())) return kUnknownVersion;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
      infoSize < sizeof *info)
    return kUnknownVersion;
  return JoinVersion(info->dwFileVersionMS, info->dwFileVersionLS);
}

}  // namespace holvex
