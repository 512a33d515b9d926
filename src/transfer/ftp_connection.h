#pragma once
// An FTP session on WinInet whose calls can never hold the GUI thread.
//
// WinInet's FTP calls block even on an asynchronous session under Wine (connect, login,
// every reply on the control connection, every read and write on the data connection), and
// there its asynchronous FtpFindFirstFileA writes the record into a copy that is gone by
// then. So each connection runs its WinInet calls, synchronous ones, on a worker thread of
// its own, and the GUI thread waits for each call with WaitPumping: windows stay alive, a
// cancel ends the wait at once, and a silent server is given up after the wait's bound.
//
// A call that is given up is left to end on its own (on Windows WinInet's own timeouts, set
// to the same bound, end it; under Wine only the server ending the connection does). The
// worker then closes the handles and ends; nothing of the engine is touched by then.
// After a call was given up every further call fails at once.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include <wininet.h>

#include "transfer/async_internet.h"
#include "transfer/async_wait.h"

namespace holvex {

struct FtpWorker;

class FtpConnection {
 public:
  static constexpr DWORD kBlockSize = 4096;

  // Connect opens a root handle of the connection's own, synchronous, with agent and proxy
  // (empty: the system's configuration; else that named proxy); timeoutMs also goes to
  // WinInet's own timeouts.
  FtpConnection(const std::string& agent, const std::string& proxy, DWORD timeoutMs);
  ~FtpConnection() { Close(); }
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
  void Close();
  // WinInet's error number of the last call that failed (kFailed); a call refused because
  // the connection was closed, or one that set no number, counts as a connection broken off.
  DWORD LastError() const { return lastError_ ? lastError_ : ERROR_INTERNET_CONNECTION_ABORTED; }

 private:
  // Runs job on the worker and waits for it; the job returns the WinInet call's BOOL.
  StepResult Run(std::function<bool(FtpWorker&)> job, const WaitPolicy& wait);

  std::shared_ptr<FtpWorker> worker_;
  const std::string agent_, proxy_;
  const DWORD timeoutMs_;
  bool closed_ = false;
  DWORD lastError_ = 0;
};

}  // namespace holvex
