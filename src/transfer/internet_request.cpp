#include "transfer/internet_request.h"

#include <vector>

#include "platform/text.h"
#include "transfer/process_memory.h"
#include "transfer/wine_workarounds.h"

namespace holvex {

namespace {

// The port of a proxy given as "host:port" (WinInet's default for a proxy without one is 80).
std::uint16_t ProxyPort(const std::string& proxy) {
  const size_t colon = proxy.rfind(':');
  if (colon == std::string::npos || colon + 1 == proxy.size()) return 80;
  unsigned long port = 0;
  for (char c : proxy.substr(colon + 1)) {
    if (c < '0' || c > '9' || port > 65535) return 80;
    port = port * 10 + static_cast<unsigned long>(c - '0');
  }
  return port > 0 && port <= 65535 ? static_cast<std::uint16_t>(port) : 80;
}

bool IsRedirection(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

struct UrlParts {
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
  std::string host, user, password, path;
  INTERNET_PORT port = 0;
};

std::optional<UrlParts> CrackUrl(const std::string& url) {
  URL_COMPONENTSA c{};
  c.dwStructSize = sizeof c;
  c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength = c.dwUrlPathLength = c.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return std::nullopt;
  auto text = [](const char* p, DWORD n) { return p ? std::string(p, n) : std::string(); };
  UrlParts parts;
  parts.scheme = c.nScheme;
  parts.host = text(c.lpszHostName, c.dwHostNameLength);
  parts.user = text(c.lpszUserName, c.dwUserNameLength);
  parts.password = text(c.lpszPassword, c.dwPasswordLength);
  std::string path = text(c.lpszUrlPath, c.dwUrlPathLength) + text(c.lpszExtraInfo, c.dwExtraInfoLength);
  parts.path = path.empty() ? std::string(1, '/') : std::move(path);
  parts.port = c.nPort;
  if (parts.host.empty()) return std::nullopt;
  return parts;
}

}  // namespace

InternetSession::InternetSession(const std::string& agent, const std::string& proxy, DWORD timeoutMs)
    : timeoutMs_(timeoutMs), proxy_(proxy) {
  DWORD access = proxy.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
  root_ = std::make_shared<UniqueInternet>(
      InternetOpenA(agent.c_str(), access, proxy.empty() ? nullptr : proxy.c_str(), nullptr, 0));
  if (!*root_) return;  // every network step of the run then fails at its first call
  wine::WatchConnections(root_->get());
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
        INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
    InternetSetOptionA(root_->get(), option, &timeoutMs, sizeof timeoutMs);
}

Request::Request() { StartWorker(); }

void Request::StartWorker() {
  worker_ = std::make_unique<InternetWorker>();
  worker_->OnGiveUp([this] { ShutDownConnection(); });
}

void Request::Renew() {
  Close();
  StartWorker();
  lastError_ = 0;
}

StepResult Request::Run(InternetWorker::Job job, const WaitPolicy& wait) {
  const StepResult r = worker_->Run(std::move(job), wait);
  lastError_ = worker_->LastError();
  if (worker_->Closed()) open_ = bodyPending_ = false;
  return r;
}

void Request::ShutDownConnection() {
  // A body still arriving, or a step given up while WinInet works on (it reads a head that never
  // ends on after its handle is closed): the connection goes first.
  const std::string address = worker_->call().ConnectedTo();
  if (bodyPending_ || !address.empty()) wine::ShutDownConnectionsTo(address, peerPort_);
}

void Request::Close() {
  // A body still being read on the worker: closing its handles here ends the read (the cancel
  // shuts the connection down first under Wine).
  if (worker_->Reading()) {
    worker_->Cancel();
  } else {
    if (bodyPending_) ShutDownConnection();
    worker_->Close();
  }
  open_ = bodyPending_ = false;
}

bool Request::CloseConfirmingEnd(const WaitPolicy& wait) {
  if (!wine::Active()) {
    Close();
    return true;
  }
  const bool serverGone = wine::ConnectionEndedByPeer(worker_->call().ConnectedTo(), peerPort_);
  return CloseKeepingConnection(wait) || !serverGone;
}

bool Request::CloseKeepingConnection(const WaitPolicy& wait) {
  if (!open_ || bodyPending_) {
    Close();
    return false;
  }
  // What WinInet does with the connection while the handles close reaches the status callback.
  // Not knowing in time counts as kept, as it did before the question was asked.
  WaitPolicy closing = wait;
  closing.limitMs = kCloseWaitMs;
  closing.giveUp = nullptr;
  const StepResult closed = Run(
      [](InternetCall& call) {
        call.SetConnectionClosed(false);
        call.Close(InternetCall::kRequest);
        call.Close(InternetCall::kConnection);
        return true;
      },
      closing);
  const bool dropped = closed == StepResult::kDone && worker_->call().ConnectionClosed();
  Close();
  return !dropped;
}

StepResult Request::Open(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                         const std::string& proxyPassword, const WaitPolicy& wait) {
  std::string scheme = ToLowerAscii(url.substr(0, url.find("://")));
  if (scheme == "http" || scheme == "https") return OpenHttp(session, url, proxyUser, proxyPassword, wait);
  return OpenOther(session, url, wait);
}

StepResult Request::OpenOther(const InternetSession& session, const std::string& url,
                              const WaitPolicy& wait) {
  worker_->call().sharedRoot = session.root();
  StepResult r = Run(
      [url](InternetCall& call) {
        const DWORD_PTR context = call.context;
        return call.Keep(InternetCall::kRequest,
                         InternetOpenUrlA(call.sharedRoot->get(), url.c_str(), nullptr, 0,
                                          INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, context));
      },
      wait);
  open_ = r == StepResult::kDone;
  return r;
}

StepResult Request::OpenHttpRequest(const InternetSession& session, const std::string& url, const char* verb,
                                    DWORD flags, const std::string& proxyUser,
                                    const std::string& proxyPassword, const WaitPolicy& wait) {
  std::optional<UrlParts> parts = CrackUrl(url);
  if (!parts || !*session.root()) {
    lastError_ = parts ? ERROR_INVALID_HANDLE : ERROR_INTERNET_INVALID_URL;
    return StepResult::kFailed;
  }
  if (parts->scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  peerPort_ = session.proxy().empty() ? parts->port : ProxyPort(session.proxy());
  worker_->call().sharedRoot = session.root();
  const DWORD timeout = session.timeoutMs();
  StepResult r = Run(
      [parts = *parts, verb, flags, timeout, proxyUser, proxyPassword](InternetCall& call) {
        const DWORD_PTR context = call.context;
        // The address's own user information is for the origin server, as InternetOpenUrlA treats it.
        if (!call.Keep(InternetCall::kConnection,
                       InternetConnectA(call.sharedRoot->get(), parts.host.c_str(), parts.port,
                                        parts.user.empty() ? nullptr : parts.user.c_str(),
                                        parts.password.empty() ? nullptr : parts.password.c_str(),
                                        INTERNET_SERVICE_HTTP, 0, context)) ||
            !call.Keep(InternetCall::kRequest,
                       HttpOpenRequestA(call.Get(InternetCall::kConnection), verb, parts.path.c_str(),
                                        nullptr, nullptr, nullptr, flags, context)))
          return false;
        const HINTERNET request = call.Get(InternetCall::kRequest);
        if (wine::TimeoutsOnRequest()) {
          DWORD value = timeout;
          for (DWORD option : {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
            InternetSetOptionA(request, option, &value, sizeof value);
        }
        if (!proxyUser.empty() && !proxyPassword.empty()) {
          // Only a proxy asks for these (status 407); the origin server never sees them.
          InternetSetOptionA(request, INTERNET_OPTION_PROXY_USERNAME, const_cast<char*>(proxyUser.c_str()),
                             static_cast<DWORD>(proxyUser.size()));
          InternetSetOptionA(request, INTERNET_OPTION_PROXY_PASSWORD,
                             const_cast<char*>(proxyPassword.c_str()),
                             static_cast<DWORD>(proxyPassword.size()));
        }
        return true;
      },
      wait);
  open_ = r == StepResult::kDone;
  return r;
}

StepResult Request::OpenHttp(const InternetSession& session, const std::string& url,
                             const std::string& proxyUser, const std::string& proxyPassword,
                             const WaitPolicy& wait) {
  std::string target = url;
  for (int hop = 0;; ++hop) {
    StepResult r = SendOnce(session, target, proxyUser, proxyPassword, wait);
    if (r != StepResult::kDone || hop == kMaxRedirects) return r;
    std::optional<std::string> next = RedirectTarget(target);
    if (!next) return r;
    // The redirection's own body is small: read, the connection may serve the next request.
    DrainBody(wait);
    Renew();
    target = *next;
  }
}

std::optional<std::string> Request::RedirectTarget(const std::string& url) const {
  std::optional<DWORD> status = QueryNumber(HTTP_QUERY_STATUS_CODE);
  std::optional<std::string> location = QueryText(HTTP_QUERY_LOCATION);
  if (!status || !IsRedirection(*status) || !location || location->empty()) return std::nullopt;
  std::vector<char> combined(url.size() + location->size() + 64);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = static_cast<DWORD>(combined.size());
    if (InternetCombineUrlA(url.c_str(), location->c_str(), combined.data(), &length, ICU_NO_ENCODE)) {
      std::string next(combined.data(), length);
      std::string scheme = ToLowerAscii(next.substr(0, next.find("://")));
      if (scheme != "http" && scheme != "https") return std::nullopt;
      return next;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    combined.resize(length + 1);
  }
  return std::nullopt;
}

StepResult Request::SendOnce(const InternetSession& session, const std::string& url,
                             const std::string& proxyUser, const std::string& proxyPassword,
                             const WaitPolicy& wait) {
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
  StepResult r = OpenHttpRequest(session, url, "GET", flags, proxyUser, proxyPassword, wait);
  if (r != StepResult::kDone) return r;
  bool withProxyLogin = !proxyUser.empty() && !proxyPassword.empty() && !wine::AnswersProxyChallengeItself();
  r = Send(wait);
  // Windows answers the proxy's challenge only when the request is sent again.
  if (r == StepResult::kDone && withProxyLogin && QueryNumber(HTTP_QUERY_STATUS_CODE) == 407u) {
    // An empty challenge has nothing to read: asking WinInet for its bytes fails the step.
    if (QueryNumber(HTTP_QUERY_CONTENT_LENGTH) != 0u) r = DrainBody(wait);
    if (r == StepResult::kDone) r = Send(wait);
  }
  if (r == StepResult::kDone) bodyPending_ = true;
  if (r == StepResult::kFailed) Close();
  return r;
}

StepResult Request::OpenUpload(const InternetSession& session, const std::string& url, const char* verb,
                               const std::string& proxyUser, const std::string& proxyPassword,
                               const WaitPolicy& wait) {
  return OpenHttpRequest(session, url, verb, INTERNET_FLAG_NO_CACHE_WRITE, proxyUser, proxyPassword, wait);
}

StepResult Request::BeginUpload(DWORD length, const WaitPolicy& wait) {
  if (!open_) return StepResult::kFailed;
  return Run(
      [length](InternetCall& call) {
        call.buffers = INTERNET_BUFFERSA{};
        call.buffers.dwStructSize = sizeof(INTERNET_BUFFERSA);
        call.buffers.dwBufferTotal = length;
        return HttpSendRequestExA(call.Get(InternetCall::kRequest), &call.buffers, nullptr, HSR_INITIATE,
                                  0) != FALSE;
      },
      wait);
}

StepResult Request::Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait) {
  *written = 0;
  if (!open_) return StepResult::kFailed;
  const StepResult r = worker_->Write(data, size, written, wait);
  lastError_ = worker_->LastError();
  return r;
}

StepResult Request::EndUpload(const WaitPolicy& wait) {
  if (!open_) return StepResult::kFailed;
  return WithAnswer(Run(
      [](InternetCall& call) {
        return HttpEndRequestA(call.Get(InternetCall::kRequest), nullptr, 0, 0) != FALSE;
      },
      wait));
}

StepResult Request::Send(const WaitPolicy& wait) {
  const auto send = [](InternetCall& call) {
    return HttpSendRequestA(call.Get(InternetCall::kRequest), nullptr, 0, nullptr, 0) != FALSE;
  };
  if (!wine::GuardHeadMemory()) return WithAnswer(Run(send, wait));
  // What the window's own work allocates meanwhile (inside the pump: a dialog, an import) is not
  // the head's.
  WaitPolicy guarded = wait;
  const size_t start = PrivateBytes();
  size_t elsewhere = 0;
  guarded.pump = [&elsewhere, pump = wait.pump] {
    const size_t before = PrivateBytes();
    if (pump) pump();
    const size_t after = PrivateBytes();
    if (after > before) elsewhere += after - before;
  };
  guarded.giveUp = [start, &elsewhere] {
    return start > 0 && PrivateBytes() > start + elsewhere + wine::kHeadMemoryBudget;
  };
  return WithAnswer(Run(send, guarded));
}

StepResult Request::WithAnswer(StepResult sent) {
  if (!wine::StatusZeroIsTimeout() || sent != StepResult::kDone ||
      QueryNumber(HTTP_QUERY_STATUS_CODE).value_or(0) != 0)
    return sent;
  lastError_ = ERROR_INTERNET_TIMEOUT;
  return StepResult::kFailed;
}

StepResult Request::DrainBody(const WaitPolicy& wait) {
  // A challenge's body is small; a proxy sending more is not worth waiting for.
  for (int blocks = 0; blocks < 256; ++blocks) {
    const char* data = nullptr;
    DWORD bytes = 0;
    StepResult r = Read(&data, &bytes, wait);
    if (r != StepResult::kDone || bytes == 0) return r;
  }
  return StepResult::kFailed;
}

StepResult Request::Read(const char** data, DWORD* bytes, const WaitPolicy& wait) {
  *bytes = 0;
  if (!open_) return StepResult::kFailed;
  const StepResult r = worker_->Read(data, bytes, wait, InternetWorker::BodyReads::kWhatHasArrived);
  lastError_ = worker_->LastError();
  if (r == StepResult::kDone && *bytes == 0) bodyPending_ = false;  // the end of the body
  if (worker_->Closed()) open_ = bodyPending_ = false;
  return r;
}

std::optional<DWORD> Request::QueryNumber(DWORD info) const {
  DWORD value = 0, length = sizeof value;
  if (!open_ || !HttpQueryInfoA(Handle(), info | HTTP_QUERY_FLAG_NUMBER, &value, &length, nullptr))
    return std::nullopt;
  return value;
}

std::optional<std::string> Request::QueryText(DWORD info) const {
  if (!open_) return std::nullopt;
  std::vector<char> text(256);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = static_cast<DWORD>(text.size());
    if (HttpQueryInfoA(Handle(), info, text.data(), &length, nullptr))
      return std::string(text.data(), length);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    text.resize(length + 1);
  }
  return std::nullopt;
}

SYSTEMTIME Request::QuerySystemTime(DWORD info) const {
  SYSTEMTIME time{};
  DWORD length = sizeof time;
  if (open_) HttpQueryInfoA(Handle(), info | HTTP_QUERY_FLAG_SYSTEMTIME, &time, &length, nullptr);
  return time;
}

}  // namespace holvex
