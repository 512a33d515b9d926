#include "support/unix_side.h"

#include <windows.h>

#include <stdexcept>

namespace holvex::test {

std::string UnixPath(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) throw std::runtime_error("a Unix path exists under Wine only");
  std::wstring wide(windowsPath.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (n == 0) throw std::runtime_error("cannot convert " + windowsPath);
  char* unix = toUnix(wide.c_str());
  if (!unix) throw std::runtime_error("no Unix path for " + windowsPath);
  std::string result(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

void StartUnixProgram(const std::string& commandLine) {
  std::string command = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process))
    throw std::runtime_error("cannot start " + command);
  // Wine's handles of a Unix process are of no use.
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
}

}  // namespace holvex::test
