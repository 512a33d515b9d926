#include "net/http_client.h"

#include <algorithm>
#include <ctime>

#include "net/http_errors.h"
#include "net/http_target.h"
#include "platform/text.h"

namespace holvex {

namespace {

// A close the server has already sent is noticed without waiting; waiting when nothing came
// would only cost time on every call.
constexpr int kClosePollMs = 0;
constexpr int kErrorBodyTimeoutMs = 2000;

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

// CR, LF and other control bytes would let an address write its own request lines.
void RejectControlCharacters(std::string_view url) {
  if (std::any_of(url.begin(), url.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
      })) {
    throw EInvalidUrl();
  }
}

// Restores the connection's read timeout when the error body has been read (or failed).
class ReadTimeoutOverride {
 public:
  ReadTimeoutOverride(TTcpConnection& connection, int ms) : connection_(connection), saved_(connection.readTimeout()) {
    connection_.setReadTimeout(ms);
  }
  ~ReadTimeoutOverride() { connection_.setReadTimeout(saved_); }
  ReadTimeoutOverride(const ReadTimeoutOverride&) = delete;
  ReadTimeoutOverride& operator=(const ReadTimeoutOverride&) = delete;

 private:
  TTcpConnection& connection_;
  int saved_;
};

}  // namespace

// ---- proxy settings ----

void TProxySettings::SetProxyServer(std::string server) {
  if (!EqualsIgnoreCase(server, server_)) authentication_.reset();
  server_ = std::move(server);
}

void TProxySettings::SetProxyPort(int port) {
  if (port != port_) authentication_.reset();
  port_ = port;
}

// ---- client ----

THttpClientBase::THttpClientBase(THttpClientSettings settings) : settings_(std::move(settings)) {
  current_.port = "80";
}

THttpClientBase::THttpClientBase(THttpClientSettings settings, TTcpClient::Connector connector)
    : settings_(std::move(settings)), connection_(std::move(connector)) {
  current_.port = "80";
}

THttpClientBase::~THttpClientBase() = default;

void THttpClientBase::ProbeHead(std::string_view url) { DoRequest(THttpMethod::methodHead, url, nullptr); }

std::string THttpClientBase::FetchText(std::string_view url) {
  std::string body;
  DoRequest(THttpMethod::methodGet, url, &body);
  return body;
}

void THttpClientBase::DoRequest(THttpMethod method, std::string_view url, std::string* body) {
  RejectControlCharacters(url);
  try {
    THttpRequest request = PrepareRequest(method, url);
    ChooseRoute(request);
    bool reused = ConnectIfNeeded();
    // A proxy's challenge is answered at most once per call: a second one refuses the
    // credentials, and asking again would only repeat the refusal.
    for (bool answered = false;; answered = true) {
      SendAndReadFirstHead(request, reused);
      for (int interim = 0; response_.statusCode == 100; ++interim) {
        if (interim >= settings_.MaxInterimReplies) throw ETooManyInterimReplies();
        ReadHead();
      }
      if (answered || !AnswersProxyChallenge(request)) break;
      SkipChallengeBody(method);
      reused = ConnectIfNeeded();
    }
    DecideOutcome(method, body);
  } catch (...) {
    FinishCall();
    throw;
  }
  FinishCall();
}

THttpRequest THttpClientBase::PrepareRequest(THttpMethod method, std::string_view url) {
  TUrlRecord parts(url);
  if (!parts.userName.empty()) {
    requestUserName_ = parts.userName;
    requestPassword_ = parts.password;
  }
  current_.userName = requestUserName_;
  current_.password = requestPassword_;
  ApplyUrlToTarget(current_, parts);

  THttpRequest request;
  request.method = method;
  request.target = RequestTargetOf(current_);
  request.host = HostValueOf(current_);
  request.userName = requestUserName_;
  request.password = requestPassword_;
  request.accept = settings_.Accept;
  request.userAgent = settings_.UserAgent;
  request.contentType = settings_.ContentType;
  return request;
}

void THttpClientBase::ChooseRoute(THttpRequest& request) {
  bool direct = proxy_.ProxyServer().empty();
  std::string host = direct ? current_.host : proxy_.ProxyServer();
  int port = direct ? PortNumberOf(current_.port) : proxy_.ProxyPort();
  if (port < 0 || port > 65535) throw EConvertError(std::to_string(port));
  if (!EqualsIgnoreCase(connection_.host(), host) || connection_.port() != port) {
    connection_.Disconnect();
    connection_.setHost(host);
    connection_.setPort(static_cast<std::uint16_t>(port));
  }
  if (EqualsIgnoreCase(current_.protocol, "https")) throw EInvalidTransport();
  if (!direct) request.target = AbsoluteTargetOf(current_);
}

bool THttpClientBase::KeepAlive() { return connection_.Connected() && response_.AllowsKeepAlive(); }

namespace {
// The peer closed or dropped the connection: nothing of an answer can come on it.
bool IsConnectionLoss(const ENetException& e) {
  if (dynamic_cast<const EConnClosedGracefully*>(&e) || dynamic_cast<const ENotConnected*>(&e)) return true;
  auto* socket = dynamic_cast<const ESocketError*>(&e);
  return socket && (socket->code() == 10053 || socket->code() == 10054 || socket->code() == 10058);
}
}  // namespace

void THttpClientBase::SendAndReadFirstHead(THttpRequest& request, bool reused) {
  try {
    SendRequest(request);
    ReadHead();
  } catch (const ENetException& e) {
    // A server may close a kept-alive connection right after its last answer, before that
    // close has reached us: the request then never got to it. Once more, on a new connection.
    if (!reused || !IsConnectionLoss(e)) throw;
    connection_.Disconnect();
    ConnectIfNeeded();
    SendRequest(request);
    ReadHead();
  }
}

bool THttpClientBase::ConnectIfNeeded() {
  if (!KeepAlive()) connection_.Disconnect();
  connection_.PollForClose(kClosePollMs);
  // Bytes beyond the last answer's end (a body longer than its Content-Length) would be read
  // as the next answer: such a connection carries no further request.
  if (!connection_.inputBuffer().empty()) connection_.Disconnect();
  const bool reused = connection_.Connected();
  if (!reused) connection_.Connect(settings_.ConnectTimeout);
  connection_.setReadTimeout(settings_.ReadTimeout);
  connection_.setMaxLineLength(settings_.MaxLineLength);
  if (settings_.CallTimeout > 0) {
    connection_.setDeadline(TTcpConnection::Clock::now() + std::chrono::milliseconds(settings_.CallTimeout));
  }
  return reused;
}

void THttpClientBase::SendRequest(THttpRequest& request) {
  if (settings_.AllowCookies && cookies_) {
    cookies_->RemoveExpired(Now());
    request.cookie = cookies_->CookieValue(current_.host, current_.path);
  }
  if (authenticator_) request.authorization = authenticator_->Authentication();
  if (proxy_.authentication_) request.proxyAuthorization = proxy_.authentication_->Authentication();
  inSync_ = false;
  // The head collects in the write buffer and leaves in one piece.
  connection_.OpenWriteBuffer();
  try {
    for (const auto& line : request.HeadLines()) connection_.WriteLn(line);
  } catch (...) {
    connection_.DiscardWriteBuffer();  // half a head must never leave
    throw;
  }
  connection_.CloseWriteBuffer();
}

void THttpClientBase::ReadHead() {
  response_ = THttpResponse{};
  response_.statusLine = connection_.ReadLn();
  response_.statusCode = ParseStatusCode(response_.statusLine);
  size_t bytes = 0;
  for (size_t i = 0;; ++i) {
    std::string line;
    try {
      line = connection_.ReadLn();
    } catch (const EConnClosedGracefully&) {
      if (i == 0) throw;
      connection_.Disconnect();  // the lines read so far stand
      break;
    }
    if (line.empty()) break;
    bytes += line.size();
    if (i >= settings_.MaxHeaderLines || bytes > settings_.MaxHeaderBytes) throw EHeaderTooLarge();
    response_.rawHeaders.Add(std::move(line));
  }
  std::int64_t now = Now();
  response_.ProcessHeaders(now);
  if (settings_.AllowCookies) {
    if (!cookies_) cookies_ = std::make_unique<TCookieStore>();
    cookies_->TakeIn(response_.rawHeaders, current_.host, now);
  }
}

void THttpClientBase::DecideOutcome(THttpMethod method, std::string* body) {
  int code = response_.statusCode;
  bool redirect = (code >= 300 && code <= 399 && code != 304) || !response_.location.empty();
  if (redirect) RaiseProtocolError(method);
  if (code >= 200 && code <= 299) {
    if (!connection_.Connected()) throw ENetError();
    if (method == THttpMethod::methodGet && code != 204) ReadBody(*body, true);
    inSync_ = true;
    return;
  }
  if (code == 401) TakeChallenge();
  RaiseProtocolError(method);
}

void THttpClientBase::RaiseProtocolError(THttpMethod method) {
  int code = response_.statusCode;
  bool interim = code >= 100 && code <= 199;
  std::string errorText;
  if (method == THttpMethod::methodGet && !interim && code != 304) {
    ReadTimeoutOverride shortWait(connection_, kErrorBodyTimeoutMs);
    ReadBody(errorText, false);
  }
  inSync_ = !interim;  // after "101 Switching Protocols" and the like the stream is no HTTP
  throw EHttpProtocolError(code, response_.statusLine, std::move(errorText));
}

// whole: the body must arrive complete; otherwise (an error text) what came is enough.
void THttpClientBase::ReadBody(std::string& dest, bool whole) {
  if (response_.ContentLength > 0) {
    auto length = static_cast<size_t>(response_.ContentLength);
    if (length > settings_.MaxBodyLength) throw EBodyTooLarge();
    size_t before = dest.size();
    try {
      connection_.ReadStream(dest, length);
    } catch (const EConnClosedGracefully&) {
      if (whole) throw EIncompleteBody();
      return;
    }
    if (whole && dest.size() - before < length) throw EIncompleteBody();
  } else if (response_.transferEncoding.find("chunked") != std::string::npos) {
    try {
      ReadChunked(dest);
    } catch (const EConnClosedGracefully&) {
      if (whole) throw;
    }
  } else if (!response_.hasContentLength) {
    connection_.ReadUntilClose(dest, settings_.MaxBodyLength);
  }
}

void THttpClientBase::ReadChunked(std::string& dest) {
  for (;;) {
    std::uint64_t size = ParseChunkSize(connection_.ReadLn());
    if (size == 0) break;
    if (size > settings_.MaxBodyLength - std::min(settings_.MaxBodyLength, dest.size())) throw EBodyTooLarge();
    connection_.ReadBytes(static_cast<size_t>(size), dest);
    if (!connection_.ReadLn().empty()) throw EBadChunk();  // the data did not end where its size said
  }
  SkipTrailer();
}

// Trailer lines up to the empty line; a server that closes right after the last chunk has
// still delivered the whole body.
void THttpClientBase::SkipTrailer() {
  size_t bytes = 0;
  for (size_t lines = 0;; ++lines) {
    std::string line;
    try {
      line = connection_.ReadLn();
    } catch (const EConnClosedGracefully&) {
      return;
    }
    if (line.empty()) return;
    bytes += line.size();
    if (lines >= settings_.MaxHeaderLines || bytes > settings_.MaxHeaderBytes) throw EHeaderTooLarge();
  }
}

void THttpClientBase::TakeChallenge() {
  if (authenticator_) return;
  const auto& challenges = response_.wwwAuthenticate;
  if (std::any_of(challenges.begin(), challenges.end(), NamesBasicScheme)) {
    authenticator_ = std::make_unique<TBasicAuth>();
  }
}

// A 407 with a Basic challenge creates the proxy authenticator. It is answered when the proxy
// settings hold a user name and a password that this request did not already carry; the
// credentials then go with every later request to that proxy. They never go to a server
// reached directly: only a proxy may ask for them.
bool THttpClientBase::AnswersProxyChallenge(const THttpRequest& sent) {
  if (response_.statusCode != 407 || !response_.location.empty()) return false;
  const auto& challenges = response_.proxyAuthenticate;
  const bool basic = std::any_of(challenges.begin(), challenges.end(), NamesBasicScheme);
  if (!proxy_.authentication_) {
    if (!basic) return false;
    proxy_.authentication_ = std::make_unique<TBasicAuth>();
  }
  TBasicAuth& auth = *proxy_.authentication_;
  const bool stored = !proxy_.ProxyUsername.empty() && !proxy_.ProxyPassword.empty();
  if (!basic || !stored || proxy_.ProxyServer().empty()) {
    auth.Reset();
    return false;
  }
  auth.userName = proxy_.ProxyUsername;
  auth.password = proxy_.ProxyPassword;
  return sent.proxyAuthorization != auth.Authentication();
}

// The refusal's text of a GET must be read off the connection before the answer can follow on
// it; a connection that cannot give it up cleanly is dropped and the answer goes on a new one.
void THttpClientBase::SkipChallengeBody(THttpMethod method) {
  if (method == THttpMethod::methodGet) {
    std::string refusal;
    try {
      ReadTimeoutOverride shortWait(connection_, kErrorBodyTimeoutMs);
      ReadBody(refusal, false);
    } catch (const ENetException&) {
      connection_.Disconnect();
    }
  }
  inSync_ = true;
}

void THttpClientBase::FinishCall() {
  connection_.setDeadline(std::nullopt);
  if (!inSync_ || !KeepAlive()) connection_.Disconnect();
  inSync_ = true;
}

THttpClient::THttpClient() : THttpClientBase(ProgramSettings()) {}

THttpClientSettings THttpClient::ProgramSettings() {
  THttpClientSettings settings;
  settings.ConnectTimeout = 20000;
  settings.ReadTimeout = 30000;
  settings.CallTimeout = 60000;
  return settings;
}

}  // namespace holvex
