#pragma once
// A real FTP server for tests: Debian's pyftpdlib (tests/support/ftp_server.py) on 127.0.0.1
// at a free port, run by /usr/bin/python3 as a Unix process that Wine starts.
//
// Wine gives no handle to wait on or end such a process, so it is steered through files in
// its work folder: it writes its port there, logs every command it receives, and ends when
// the stop file appears (or after kLifetimeSeconds, should a test never stop it).
//
// Anonymous logins see PublicDir(), kUser with kPassword sees UserDir(); both may write.
// Names starting with "stall", "drop" or "unlisted" misbehave on purpose (see the script).
#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace holvex::test {

class FtpServer {
 public:
  static constexpr const char* kUser = "holvex";
  static constexpr const char* kPassword = "Ge-heim 2004";
  static constexpr int kLifetimeSeconds = 600;

  // Throws std::runtime_error when the server does not come up within 10 s.
  FtpServer();
  ~FtpServer();  // stops the server, waiting at most 3 s
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  std::uint16_t port() const { return port_; }
  const TempDir& PublicDir() const { return public_; }
  const TempDir& UserDir() const { return user_; }
  // Every command received so far, one a line as sent ("PASS ***" for a password).
  std::vector<std::string> Commands() const;

 private:
  TempDir work_, public_, user_;
  std::uint16_t port_ = 0;
};

}  // namespace holvex::test
