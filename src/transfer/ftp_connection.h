#pragma once
// An FTP session on WinInet whose calls can never hold the GUI thread: each a blocking call on
// the connection's own worker thread (internet_worker.h), with a root handle of its own.
#include <windows.h>

#include <string>

#include <wininet.h>

#include "transfer/async_wait.h"
#include "transfer/internet_worker.h"

namespace holvex {

class FtpConnection {
 public:
  static constexpr DWORD kBlockSize = kNetworkBlockSize;

  // Connect opens a root handle of the connection's own, synchronous, with agent and proxy
  // (empty: the system's configuration; else that named proxy); timeoutMs also goes to
  // WinInet's own timeouts.
  FtpConnection(const std::string& agent, const std::string& proxy, DWORD timeoutMs);
  ~FtpConnection() = default;
  FtpConnection(const FtpConnection&) = delete;
  FtpConnection& operator=(const FtpConnection&) = delete;

  // Connects and logs in; user and password empty: the anonymous login.
  StepResult Connect(const std::string& host, INTERNET_PORT port, const std::string& user,
                     const std::string& password, bool passive, const WaitPolicy& wait);
  StepResult SetDirectory(const std::string& directory, const WaitPolicy& wait);
  StepResult MakeDirectory(const std::string& directory, const WaitPolicy& wait);
  // The listing's record of that name. The search is closed at once: Windows refuses a
  // transfer while a search is open on the connection.
  StepResult Find(const std::string& name, WIN32_FIND_DATAA* record, const WaitPolicy& wait);
  // access: GENERIC_READ or GENERIC_WRITE; binary transfer.
  StepResult OpenFile(const std::string& name, DWORD access, const WaitPolicy& wait);
  // Up to kBlockSize bytes of the open file; *bytes 0 means its end.
  StepResult Read(const char** data, DWORD* bytes, const WaitPolicy& wait);
  // Hands size (up to kBlockSize) bytes to the open file, also none.
  StepResult Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait);
  // Ends the transfer of the open file: the server confirms it on the control connection.
  StepResult CloseFile(const WaitPolicy& wait);
  // Hands every handle to the worker to close, without waiting; later calls fail at once.
  void Close() { worker_.Close(); }
  // WinInet's error number of the last call that failed (kFailed); one that set no number
  // counts as a connection broken off.
  DWORD LastError() const {
    return worker_.LastError() ? worker_.LastError() : ERROR_INTERNET_CONNECTION_ABORTED;
  }

 private:
  InternetWorker worker_;
  const std::string agent_, proxy_;
  const DWORD timeoutMs_;
};

}  // namespace holvex
