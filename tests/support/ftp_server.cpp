#include "support/ftp_server.h"

#include <windows.h>

#include <charconv>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "support/unix_side.h"

#ifndef HOLVEX_FTP_SERVER_SCRIPT
#error "HOLVEX_FTP_SERVER_SCRIPT must name tests/support/ftp_server.py"
#endif

namespace holvex::test {
namespace {

std::string Quoted(const std::string& arg) { return "\"" + arg + "\""; }

}  // namespace

FtpServer::FtpServer() {
  // Its files tell how it goes: Wine gives no handle of a Unix process to wait on.
  StartUnixProgram("Z:\\usr\\bin\\python3 " + Quoted(HOLVEX_FTP_SERVER_SCRIPT) + " " +
                   Quoted(UnixPath(work_.path())) + " " + Quoted(UnixPath(public_.path())) + " " +
                   Quoted(kUser) + " " + Quoted(kPassword) + " " + Quoted(UnixPath(user_.path())) + " " +
                   std::to_string(kLifetimeSeconds));
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
