#include "support/ftp_server.h"

#include <windows.h>

#include <charconv>
#include <memory>
#include <sstream>
#include <stdexcept>

#ifndef HOLVEX_FTP_SERVER_SCRIPT
#error "HOLVEX_FTP_SERVER_SCRIPT must name tests/support/ftp_server.py"
#endif

namespace holvex::test {
namespace {

// The Unix path of a Windows path, through Wine's own export.
std::string UnixPath(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) throw std::runtime_error("the FTP server runs under Wine only");
  std::wstring wide(windowsPath.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (n == 0) throw std::runtime_error("cannot convert " + windowsPath);
  char* unix = toUnix(wide.c_str());
  if (!unix) throw std::runtime_error("no Unix path for " + windowsPath);
  std::string result(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string Quoted(const std::string& arg) { return "\"" + arg + "\""; }

}  // namespace

FtpServer::FtpServer() {
  std::string command = "Z:\\usr\\bin\\python3 " + Quoted(HOLVEX_FTP_SERVER_SCRIPT) + " " +
                        Quoted(UnixPath(work_.path())) + " " + Quoted(UnixPath(public_.path())) + " " +
                        Quoted(kUser) + " " + Quoted(kPassword) + " " + Quoted(UnixPath(user_.path())) + " " +
                        std::to_string(kLifetimeSeconds);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process))
    throw std::runtime_error("cannot start " + command);
  // Wine's handles of a Unix process are of no use: the files tell.
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  for (int waited = 0; waited < 10000; waited += 20) {
    std::string text = work_.Read("port");
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end != text.data() && value > 0 && value < 65536) {
      port_ = static_cast<std::uint16_t>(value);
      return;
    }
    Sleep(20);
  }
  throw std::runtime_error("the FTP server did not start: " + work_.Read("server.log"));
}

FtpServer::~FtpServer() {
  work_.Write("stop", "");
  for (int waited = 0; waited < 3000 && work_.Exists("stop"); waited += 20) Sleep(20);
}

std::vector<std::string> FtpServer::Commands() const {
  std::vector<std::string> lines;
  std::istringstream in(work_.Read("commands"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace holvex::test
