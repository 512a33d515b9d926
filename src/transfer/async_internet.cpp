#include "transfer/async_internet.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/text.h"
#include "transfer/process_memory.h"
#include "transfer/wine_workarounds.h"

namespace holvex {

struct AsyncState {
  explicit AsyncState(DWORD_PTR contextId) : id(contextId) {}
  const DWORD_PTR id;
  UniqueKernelHandle done{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  // Written by the callback under the registry's lock.
  DWORD_PTR result = 0;
  DWORD error = 0;
  HINTERNET created = nullptr;    // last handle WinInet announced for this context
  HINTERNET closed = nullptr;     // the handle the Request closed while an open was pending
  HINTERNET request = nullptr;    // the handle the operations run on, once known
  std::string connectedTo;        // the server's address, when WinInet names it
  bool pending = false;           // an operation went asynchronous and has not completed
  bool abandoned = false;         // the Request has closed its handles
  bool connectionClosed = false;  // WinInet closed the request's connection
  // What an asynchronous read writes into, and what an asynchronous write reads from.
  INTERNET_BUFFERSA buffers{};
  char block[Request::kBlockSize];
  DWORD written = 0;
  DWORD available = 0;  // what a query for arrived bytes writes
};

namespace {

// Every state by context id: while its Request lives, and after that while an operation
// of it may still complete.
class Registry {
 public:
  static Registry& Get() {
    // Deliberately never destroyed: a WinInet thread may still call back while the
    // program's static objects are being torn down.
    static Registry* registry = new Registry;
    return *registry;
  }
  std::mutex lock;
  std::map<DWORD_PTR, std::shared_ptr<AsyncState>> states;
  DWORD_PTR nextId = 1;
};

// WinInet names the server's numeric address as text; anything else is ignored.
std::string AddressText(const char* info) {
  std::string text;
  for (size_t i = 0; i < 64 && info[i]; ++i) {
    const char c = info[i];
    const bool addressChar =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.' || c == ':';
    if (!addressChar) return {};
    text += c;
  }
  return text;
}

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

void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
  // Runs on a WinInet thread: it only records and signals, and never throws.
  if (context == 0) return;
  Registry& registry = Registry::Get();
  HINTERNET orphan = nullptr;
  {
    std::lock_guard<std::mutex> guard(registry.lock);
    auto it = registry.states.find(context);
    if (it == registry.states.end()) return;
    AsyncState& state = *it->second;
    if (status == INTERNET_STATUS_CONNECTION_CLOSED) {
      state.connectionClosed = true;
      return;
    }
    if (!info) return;
    if (status == INTERNET_STATUS_CONNECTED_TO_SERVER) {
      state.connectedTo = AddressText(static_cast<const char*>(info));
      return;
    }
    if (status == INTERNET_STATUS_HANDLE_CREATED) {
      state.created = reinterpret_cast<HINTERNET>(static_cast<INTERNET_ASYNC_RESULT*>(info)->dwResult);
      return;
    }
    if (status == INTERNET_STATUS_REQUEST_COMPLETE && state.pending) {
      auto* async = static_cast<INTERNET_ASYNC_RESULT*>(info);
      state.result = async->dwResult;
      state.error = async->dwError;
      state.pending = false;
      // An open given up before its handle reached us: nobody else will close that handle.
      auto opened = reinterpret_cast<HINTERNET>(async->dwResult);
      if (state.abandoned && async->dwResult > 1 && opened != state.closed) orphan = opened;
      SetEvent(state.done.get());
      if (state.abandoned) registry.states.erase(it);
    } else if (status == INTERNET_STATUS_HANDLE_CLOSING && state.abandoned &&
               (state.request == nullptr || handle == state.request)) {
      SetEvent(state.done.get());
      registry.states.erase(it);  // no more callbacks for it, nor writes into its buffer
    }
  }
  if (orphan) InternetCloseHandle(orphan);
}

StepResult FromWait(WaitOutcome outcome) {
  switch (outcome) {
    case WaitOutcome::kTimedOut:
      return StepResult::kTimedOut;
    case WaitOutcome::kGivenUp:
      return StepResult::kFailed;
    default:
      return StepResult::kStopped;
  }
}

DWORD ErrorOf(WaitOutcome outcome) {
  switch (outcome) {
    case WaitOutcome::kTimedOut:
      return ERROR_INTERNET_TIMEOUT;
    case WaitOutcome::kGivenUp:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    default:
      return ERROR_INTERNET_OPERATION_CANCELLED;
  }
}

bool IsRedirection(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

InternetSession::InternetSession(const std::string& agent, const std::string& proxy, DWORD timeoutMs)
    : timeoutMs_(timeoutMs), proxy_(proxy) {
  DWORD access = proxy.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
  root_.reset(InternetOpenA(agent.c_str(), access, proxy.empty() ? nullptr : proxy.c_str(), nullptr,
                            INTERNET_FLAG_ASYNC));
  if (!root_) return;  // every network step of the run then fails at its first call
  InternetSetStatusCallbackA(root_.get(), StatusCallback);
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
        INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
    InternetSetOptionA(root_.get(), option, &timeoutMs, sizeof timeoutMs);
}

Request::Request() { Register(); }

void Request::Register() {
  Registry& registry = Registry::Get();
  std::lock_guard<std::mutex> guard(registry.lock);
  state_ = std::make_shared<AsyncState>(registry.nextId++);
  registry.states[state_->id] = state_;
}

void Request::Renew() {
  Close();
  Register();
  lastError_ = 0;
  available_ = 0;
}

Request::~Request() { Close(); }

void Request::Close() {
  Registry& registry = Registry::Get();
  std::string address;
  bool pending = false;
  {
    std::lock_guard<std::mutex> guard(registry.lock);
    address = state_->connectedTo;
    pending = state_->pending;
  }
  // A body still arriving, or a step given up while WinInet works on (it reads a head that
  // never ends on after its handle is closed): the connection goes first.
  if (request_ && (bodyPending_ || (pending && !address.empty())))
    wine::ShutDownConnectionsTo(address, peerPort_);
  bodyPending_ = false;
  available_ = 0;
  {
    std::lock_guard<std::mutex> guard(registry.lock);
    state_->abandoned = true;
    // A handle announced by an open that never completed for us.
    if (!request_ && state_->created && state_->pending) {
      request_.reset(state_->created);
      state_->closed = state_->created;
      state_->created = nullptr;  // closed here, and never again: Wine reuses handle values
    }
    // Unless an operation may still write into it, the state goes now.
    if (!state_->pending) registry.states.erase(state_->id);
  }
  request_.reset();
  connection_.reset();
}

bool Request::CloseConfirmingEnd(const WaitPolicy& wait) {
  if (!wine::Active()) {
    Close();
    return true;
  }
  std::string address;
  {
    std::lock_guard<std::mutex> guard(Registry::Get().lock);
    address = state_->connectedTo;
  }
  const bool serverGone = wine::ConnectionEndedByPeer(address, peerPort_);
  return CloseKeepingConnection(wait) || !serverGone;
}

bool Request::CloseKeepingConnection(const WaitPolicy& wait) {
  Registry& registry = Registry::Get();
  bool ready = false;
  {
    std::lock_guard<std::mutex> guard(registry.lock);
    ready = request_ && !bodyPending_ && !state_->pending;
    // Registered through the close, so that what WinInet does with the connection reaches us.
    if (ready) state_->abandoned = true;
  }
  if (!ready) {
    Close();
    return false;
  }
  std::shared_ptr<AsyncState> state = state_;
  ResetEvent(state->done.get());
  request_.reset();
  connection_.reset();
  // The handle goes while it is closed, or soon after on a WinInet thread; not knowing in time
  // counts as kept, as it did before the question was asked.
  WaitPolicy closing = wait;
  closing.limitMs = kCloseWaitMs;
  closing.giveUp = nullptr;
  WaitPumping(state->done.get(), closing);
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.states.erase(state->id);
  return !state->connectionClosed;
}

template <typename Start>
StepResult Request::Run(Start start, const WaitPolicy& wait) {
  Registry& registry = Registry::Get();
  if (state_->abandoned) {
    lastError_ = ERROR_INTERNET_INVALID_OPERATION;
    return StepResult::kFailed;
  }
  {
    // Marked before the call: its completion may be reported before the call returns.
    std::lock_guard<std::mutex> guard(registry.lock);
    state_->result = 0;
    state_->error = 0;
    state_->pending = true;
  }
  BOOL ok = start();
  DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  if (ok || error != ERROR_IO_PENDING) {
    std::lock_guard<std::mutex> guard(registry.lock);
    state_->pending = false;
    lastError_ = error;
    return ok ? StepResult::kDone : StepResult::kFailed;
  }
  for (;;) {
    WaitOutcome outcome = WaitPumping(state_->done.get(), wait);
    if (outcome != WaitOutcome::kSignalled) {
      Close();  // the operation may still finish; its state stays registered until then
      lastError_ = ErrorOf(outcome);
      return FromWait(outcome);
    }
    std::lock_guard<std::mutex> guard(registry.lock);
    // A signal left over from a completion reported before its call had returned.
    if (state_->pending) continue;
    lastError_ = state_->error;
    return state_->result != 0 ? StepResult::kDone : StepResult::kFailed;
  }
}

StepResult Request::Open(const InternetSession& session, const std::string& url, const std::string& proxyUser,
                         const std::string& proxyPassword, const WaitPolicy& wait) {
  std::string scheme = ToLowerAscii(url.substr(0, url.find("://")));
  if (scheme == "http" || scheme == "https") return OpenHttp(session, url, proxyUser, proxyPassword, wait);
  return OpenOther(session, url, wait);
}

StepResult Request::OpenOther(const InternetSession& session, const std::string& url,
                              const WaitPolicy& wait) {
  HINTERNET sync = nullptr;
  StepResult r = Run(
      [&] {
        sync = InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0,
                                INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, state_->id);
        return sync != nullptr;
      },
      wait);
  if (r != StepResult::kDone) return r;
  std::lock_guard<std::mutex> guard(Registry::Get().lock);
  request_.reset(sync ? sync : reinterpret_cast<HINTERNET>(state_->result));
  state_->request = request_.get();
  return StepResult::kDone;
}

namespace {

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

bool Request::OpenHttpRequest(const InternetSession& session, const std::string& url, const char* verb,
                              DWORD flags, const std::string& proxyUser, const std::string& proxyPassword) {
  std::optional<UrlParts> parts = CrackUrl(url);
  if (!parts || !session.get()) {
    lastError_ = parts ? ERROR_INVALID_HANDLE : ERROR_INTERNET_INVALID_URL;
    return false;
  }
  // The address's own user information is for the origin server, as InternetOpenUrlA treats it.
  connection_.reset(InternetConnectA(
      session.get(), parts->host.c_str(), parts->port, parts->user.empty() ? nullptr : parts->user.c_str(),
      parts->password.empty() ? nullptr : parts->password.c_str(), INTERNET_SERVICE_HTTP, 0, state_->id));
  if (parts->scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  if (connection_)
    request_.reset(HttpOpenRequestA(connection_.get(), verb, parts->path.c_str(), nullptr, nullptr, nullptr,
                                    flags, state_->id));
  if (!request_) {
    lastError_ = GetLastError();
    connection_.reset();
    return false;
  }
  {
    std::lock_guard<std::mutex> guard(Registry::Get().lock);
    state_->request = request_.get();
  }
  peerPort_ = session.proxy().empty() ? parts->port : ProxyPort(session.proxy());
  if (wine::TimeoutsOnRequest()) {
    DWORD timeout = session.timeoutMs();
    for (DWORD option : {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
      InternetSetOptionA(request_.get(), option, &timeout, sizeof timeout);
  }
  if (!proxyUser.empty() && !proxyPassword.empty()) {
    // Only a proxy asks for these (status 407); the origin server never sees them.
    InternetSetOptionA(request_.get(), INTERNET_OPTION_PROXY_USERNAME, const_cast<char*>(proxyUser.c_str()),
                       static_cast<DWORD>(proxyUser.size()));
    InternetSetOptionA(request_.get(), INTERNET_OPTION_PROXY_PASSWORD,
                       const_cast<char*>(proxyPassword.c_str()), static_cast<DWORD>(proxyPassword.size()));
  }
  return true;
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
  if (!OpenHttpRequest(session, url, "GET", flags, proxyUser, proxyPassword)) return StepResult::kFailed;
  bool withProxyLogin = !proxyUser.empty() && !proxyPassword.empty() && !wine::AnswersProxyChallengeItself();
  StepResult r = Send(wait);
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

bool Request::OpenUpload(const InternetSession& session, const std::string& url, const char* verb,
                         const std::string& proxyUser, const std::string& proxyPassword) {
  return OpenHttpRequest(session, url, verb, INTERNET_FLAG_NO_CACHE_WRITE, proxyUser, proxyPassword);
}

StepResult Request::BeginUpload(DWORD length, const WaitPolicy& wait) {
  if (!request_) return StepResult::kFailed;
  // Kept in the state: WinInet may read the record after the call has returned.
  state_->buffers = INTERNET_BUFFERSA{};
  state_->buffers.dwStructSize = sizeof(INTERNET_BUFFERSA);
  state_->buffers.dwBufferTotal = length;
  return Run(
      [&] { return HttpSendRequestExA(request_.get(), &state_->buffers, nullptr, HSR_INITIATE, state_->id); },
      wait);
}

StepResult Request::Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait) {
  *written = 0;
  if (!request_ || size > kBlockSize) return StepResult::kFailed;
  // The bytes and the count live in the state: a write given up may still complete.
  std::memcpy(state_->block, data, size);
  state_->written = 0;
  StepResult r =
      Run([&] { return InternetWriteFile(request_.get(), state_->block, size, &state_->written); }, wait);
  if (r == StepResult::kDone) *written = state_->written;
  return r;
}

StepResult Request::EndUpload(const WaitPolicy& wait) {
  if (!request_) return StepResult::kFailed;
  return WithAnswer(Run([&] { return HttpEndRequestA(request_.get(), nullptr, 0, state_->id); }, wait));
}

StepResult Request::Send(const WaitPolicy& wait) {
  const auto send = [&] { return HttpSendRequestA(request_.get(), nullptr, 0, nullptr, 0); };
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

StepResult Request::WaitForData(const WaitPolicy& wait) {
  // Answered at once when bytes are there; otherwise once they arrive, and then asked again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    bool answered = false;
    StepResult r = Run(
        [&] {
          answered = InternetQueryDataAvailable(request_.get(), &state_->available, 0, 0) != FALSE;
          return answered ? TRUE : FALSE;
        },
        wait);
    if (r != StepResult::kDone) return r;
    if (answered) {
      available_ = state_->available;
      return StepResult::kDone;
    }
  }
  lastError_ = ERROR_INTERNET_INTERNAL_ERROR;
  return StepResult::kFailed;
}

StepResult Request::Read(const char** data, DWORD* bytes, const WaitPolicy& wait) {
  *data = state_->block;
  *bytes = 0;
  if (!request_) return StepResult::kFailed;
  // A read asked for a whole block waits until the whole block has come: a body that
  // trickles in would run into the wait's bound although it never stalls.
  if (available_ == 0) {
    StepResult r = WaitForData(wait);
    if (r != StepResult::kDone) return r;
    if (available_ == 0) {
      bodyPending_ = false;  // the end of the body
      return StepResult::kDone;
    }
  }
  state_->buffers = INTERNET_BUFFERSA{};
  state_->buffers.dwStructSize = sizeof(INTERNET_BUFFERSA);
  state_->buffers.lpvBuffer = state_->block;
  state_->buffers.dwBufferLength = std::min(available_, kBlockSize);
  StepResult r =
      Run([&] { return InternetReadFileExA(request_.get(), &state_->buffers, IRF_ASYNC, state_->id); }, wait);
  if (r != StepResult::kDone) return r;
  *bytes = state_->buffers.dwBufferLength;
  available_ -= std::min(available_, *bytes);
  if (*bytes == 0) bodyPending_ = false;
  return r;
}

std::optional<DWORD> Request::QueryNumber(DWORD info) const {
  DWORD value = 0, length = sizeof value;
  if (!request_ || !HttpQueryInfoA(request_.get(), info | HTTP_QUERY_FLAG_NUMBER, &value, &length, nullptr))
    return std::nullopt;
  return value;
}

std::optional<std::string> Request::QueryText(DWORD info) const {
  if (!request_) return std::nullopt;
  std::vector<char> text(256);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = static_cast<DWORD>(text.size());
    if (HttpQueryInfoA(request_.get(), info, text.data(), &length, nullptr))
      return std::string(text.data(), length);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    text.resize(length + 1);
  }
  return std::nullopt;
}

SYSTEMTIME Request::QuerySystemTime(DWORD info) const {
  SYSTEMTIME time{};
  DWORD length = sizeof time;
  if (request_) HttpQueryInfoA(request_.get(), info | HTTP_QUERY_FLAG_SYSTEMTIME, &time, &length, nullptr);
  return time;
}

}  // namespace holvex
