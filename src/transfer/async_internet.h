#pragma once
// WinInet in asynchronous mode, driven from the GUI thread. Every network step (open, read)
// is started asynchronously and waited for with WaitPumping, so a silent server can neither
// freeze the windows nor hold a transfer beyond the wait's bound.
//
// Lifetime: WinInet may still complete an operation that was given up, writing into its
// buffer and calling back with its context. That state therefore lives in a process-wide
// registry until no operation can use it any more, which may be after its Request is gone.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <wininet.h>

#include "transfer/async_wait.h"
#include "transfer/internet_handle.h"

namespace holvex {

// The root handle of a run, in asynchronous mode with our status callback.
class InternetSession {
 public:
  // proxy empty: the system's configuration; else that named proxy. timeoutMs also goes to
  // WinInet's own connect, send and receive timeouts (Windows honours them).
  InternetSession(const std::string& agent, const std::string& proxy, DWORD timeoutMs);
  HINTERNET get() const { return root_.get(); }
  DWORD timeoutMs() const { return timeoutMs_; }
  const std::string& proxy() const { return proxy_; }

 private:
  DWORD timeoutMs_;
  std::string proxy_;
  UniqueInternet root_;
};

struct AsyncState;

enum class StepResult { kDone, kFailed, kTimedOut, kStopped };

// One transfer's request handle and its pending operation.
class Request {
 public:
  static constexpr DWORD kBlockSize = 4096;
  static constexpr int kMaxRedirects = 20;

  Request();
  ~Request();
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  // http:// and https:// are requested through a connection of our own, so that proxy
  // credentials go to the proxy as WinInet options (never into the address); any other
  // scheme goes through InternetOpenUrlA. Redirections to http:// and https:// addresses are
  // followed here, at most kMaxRedirects of them (WinInet under Wine follows a loop for ever,
  // even after its handles are closed); the answer beyond that is left as it came (a 3xx).
  // Under Wine, a head that makes WinInet hold more than wine::kHeadMemoryBudget is given up.
  StepResult Open(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                  const std::string& proxyPassword, const WaitPolicy& wait);
  bool IsOpen() const { return static_cast<bool>(request_); }

  // Reads up to kBlockSize bytes, as soon as any have arrived (a body that trickles in is
  // no stall: the wait's bound runs from one arrival to the next); *bytes 0 means the end of
  // the body.
  StepResult Read(const char** data, DWORD* bytes, const WaitPolicy& wait);

  // The upload route: a request for url with the verb (always through a connection of our own,
  // to the address's port), started with the body's whole length declared, the body handed
  // over in blocks, then ended to read the answer. A request broken off is closed, not ended.
  bool OpenUpload(const InternetSession& session, const std::string& url, const char* verb,
                  const std::string& proxyUser, const std::string& proxyPassword);
  StepResult BeginUpload(DWORD length, const WaitPolicy& wait);
  // Hands up to kBlockSize bytes to WinInet; *written says how many it took.
  StepResult Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait);
  StepResult EndUpload(const WaitPolicy& wait);

  // WinInet's error number of the last step that did not succeed; a wait given up counts as
  // ERROR_INTERNET_TIMEOUT, a stop as ERROR_INTERNET_OPERATION_CANCELLED.
  DWORD LastError() const { return lastError_; }

  std::optional<DWORD> QueryNumber(DWORD info) const;
  std::optional<std::string> QueryText(DWORD info) const;
  SYSTEMTIME QuerySystemTime(DWORD info) const;  // all zero when the query fails

  // Closes the handles, once; a pending operation is left to finish on its own. Under Wine a
  // download whose body has not been read to its end has its connection shut down first, so
  // that the close does not wait for the rest of the body.
  void Close();

  // Closes a request whose body was read to its end and says whether that end was the body's
  // own rather than the server's close. Windows fails the read of a chunked body cut off by the
  // server; Wine reports a normal end. Asked for answers whose connection is to stay open: Wine
  // keeps such a connection only when the body ended as framed; it also drops one whose last
  // bytes are still on their way, so a body counts as cut off only when the server had closed
  // the connection too. The wait for WinInet's word dispatches messages.
  bool CloseConfirmingEnd(const WaitPolicy& wait);

 private:
  static constexpr DWORD kCloseWaitMs = 2000;
  // Closes the handles of a request with nothing pending; false when WinInet dropped the
  // connection rather than keep it for another request.
  bool CloseKeepingConnection(const WaitPolicy& wait);

  StepResult OpenHttp(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                      const std::string& proxyPassword, const WaitPolicy& wait);
  bool OpenHttpRequest(const InternetSession& session, const std::string& url, const char* verb, DWORD flags,
                       const std::string& proxyUser, const std::string& proxyPassword);
  StepResult OpenOther(const InternetSession& session, const std::string& url, const WaitPolicy& wait);
  StepResult SendOnce(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                      const std::string& proxyPassword, const WaitPolicy& wait);
  StepResult Send(const WaitPolicy& wait);
  // A step that WinInet ended as done without an answer's status line is a failure.
  StepResult WithAnswer(StepResult sent);
  StepResult DrainBody(const WaitPolicy& wait);
  // Waits until body bytes have arrived or the body has ended; sets available_.
  StepResult WaitForData(const WaitPolicy& wait);
  // The redirection's target when the answer is one to follow (3xx with a Location).
  std::optional<std::string> RedirectTarget(const std::string& url) const;
  // Runs one asynchronous call: start() returns its BOOL and leaves GetLastError.
  template <typename Start>
  StepResult Run(Start start, const WaitPolicy& wait);
  // A fresh state for the next request of a redirection (the old one is closed).
  void Register();
  void Renew();

  std::shared_ptr<AsyncState> state_;
  DWORD lastError_ = 0;
  // A download's body is still arriving.
  bool bodyPending_ = false;
  // The port of the connection's far end (the proxy when there is one).
  std::uint16_t peerPort_ = 0;
  DWORD available_ = 0;  // body bytes that have arrived and not been read yet
  // Declared in this order so that the request is closed before its connection.
  UniqueInternet connection_;  // only on the http route
  UniqueInternet request_;
};

}  // namespace holvex
