#pragma once
// One HTTP request on WinInet, each network step a blocking call on the request's own worker
// thread (internet_worker.h), so a silent server can neither freeze the windows nor hold a
// transfer beyond the wait's bound.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <wininet.h>

#include "transfer/async_wait.h"
#include "transfer/internet_worker.h"

namespace holvex {

// The root handle of a run, shared by its requests.
class InternetSession {
 public:
  // proxy empty: the system's configuration; else that named proxy. timeoutMs also goes to
  // WinInet's own connect, send and receive timeouts (Windows honours them).
  InternetSession(const std::string& agent, const std::string& proxy, DWORD timeoutMs);
  const SharedRoot& root() const { return root_; }
  DWORD timeoutMs() const { return timeoutMs_; }
  const std::string& proxy() const { return proxy_; }

 private:
  DWORD timeoutMs_;
  std::string proxy_;
  SharedRoot root_;
};

class Request {
 public:
  static constexpr DWORD kBlockSize = kNetworkBlockSize;
  static constexpr int kMaxRedirects = 20;

  Request();
  ~Request() { Close(); }
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
  bool IsOpen() const { return open_; }

  // Reads up to kBlockSize bytes, as soon as any have arrived (a body that trickles in is
  // no stall: the wait's bound runs from one arrival to the next); *bytes 0 means the end of
  // the body.
  StepResult Read(const char** data, DWORD* bytes, const WaitPolicy& wait);

  // The upload route: a request for url with the verb (always through a connection of our own,
  // to the address's port), started with the body's whole length declared, the body handed
  // over in blocks, then ended to read the answer. A request broken off is closed, not ended.
  StepResult OpenUpload(const InternetSession& session, const std::string& url, const char* verb,
                        const std::string& proxyUser, const std::string& proxyPassword,
                        const WaitPolicy& wait);
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

  // Hands the handles to the worker to close, once. Under Wine a download whose body has not been
  // read to its end has its connection shut down first, so that the close does not read the rest.
  void Close();

  // Closes a request whose body was read to its end and says whether that end was the body's
  // own rather than the server's close. Windows fails the read of a chunked body cut off by the
  // server; Wine reports a normal end. Asked for answers whose connection is to stay open: Wine
  // keeps such a connection only when the body ended as framed; it also drops one whose last
  // bytes are still on their way, so a body counts as cut off only when the server had closed
  // the connection too.
  bool CloseConfirmingEnd(const WaitPolicy& wait);

 private:
  static constexpr DWORD kCloseWaitMs = 2000;
  // Runs a step on the worker; lastError_ follows it.
  StepResult Run(InternetWorker::Job job, const WaitPolicy& wait);
  HINTERNET Handle() const { return worker_->call().Get(InternetCall::kRequest); }
  // Under Wine: the request's connection goes down (its server's, or the proxy's).
  void ShutDownConnection();
  // Closes the handles of a request with nothing pending on the worker and waits for it; false
  // when WinInet dropped the connection rather than keep it for another request.
  bool CloseKeepingConnection(const WaitPolicy& wait);

  StepResult OpenHttp(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                      const std::string& proxyPassword, const WaitPolicy& wait);
  StepResult OpenHttpRequest(const InternetSession& session, const std::string& url, const char* verb,
                             DWORD flags, const std::string& proxyUser, const std::string& proxyPassword,
                             const WaitPolicy& wait);
  StepResult OpenOther(const InternetSession& session, const std::string& url, const WaitPolicy& wait);
  StepResult SendOnce(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                      const std::string& proxyPassword, const WaitPolicy& wait);
  StepResult Send(const WaitPolicy& wait);
  // A step that WinInet ended as done without an answer's status line is a failure.
  StepResult WithAnswer(StepResult sent);
  StepResult DrainBody(const WaitPolicy& wait);
  // The redirection's target when the answer is one to follow (3xx with a Location).
  std::optional<std::string> RedirectTarget(const std::string& url) const;
  void StartWorker();
  // A fresh worker for the next request of a redirection (the old one is closed).
  void Renew();

  std::unique_ptr<InternetWorker> worker_;
  DWORD lastError_ = 0;
  bool open_ = false;
  // A download's body is still arriving.
  bool bodyPending_ = false;
  // The port of the request's far end: its server's, or the proxy's when there is one.
  std::uint16_t peerPort_ = 0;
};

}  // namespace holvex
