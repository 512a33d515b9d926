#pragma once
// The small blocking HTTP/1.1 client the program uses for size probes (HEAD) and the update
// query (GET). Every call runs to its end on the calling thread and either returns or throws;
// redirects are never followed, there is no TLS, and one connection is reused while the server
// allows. State kept between calls: the current target, the connection, the cookie store and
// the authenticators that challenges created.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/basic_auth.h"
#include "net/cookies.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/tcp_client.h"
#include "net/url_record.h"

namespace holvex {

struct THttpClientSettings {
  int ConnectTimeout = 0;  // ms; 0: one blocking connect
  int ReadTimeout = 0;     // ms each read waits; 0: no limit
  int CallTimeout = 0;     // ms for the whole exchange after connecting; 0: no limit
  size_t MaxLineLength = 16384;
  // Bounds against hostile servers: the call fails beyond them, memory stays bounded.
  size_t MaxHeaderLines = 1000;
  size_t MaxHeaderBytes = 256 * 1024;
  size_t MaxBodyLength = 8 * 1024 * 1024;
  int MaxInterimReplies = 16;  // "100 Continue" heads before the real one
  bool AllowCookies = true;
  std::string Accept = "text/html, */*";
  std::string UserAgent = "Mozilla/3.0 (compatible; Holvex 2004)";
  std::string ContentType = "text/html";
};

// Where requests go when a proxy is set. Changing server (other than in letter case) or port
// discards the proxy authenticator. Username and password go only to the proxy, and only once
// it has asked for them with a Basic challenge.
class TProxySettings {
 public:
  const std::string& ProxyServer() const { return server_; }
  void SetProxyServer(std::string server);
  int ProxyPort() const { return port_; }
  void SetProxyPort(int port);
  std::string ProxyUsername;
  std::string ProxyPassword;
  bool BasicAuthentication = false;
  // Created by a 407 challenge; holds the credentials once they have answered one.
  const TBasicAuth* Authentication() const { return authentication_.get(); }

 private:
  friend class THttpClientBase;
  std::string server_;
  int port_ = 0;
  std::unique_ptr<TBasicAuth> authentication_;
};

class THttpClientBase {
 public:
  explicit THttpClientBase(THttpClientSettings settings = {});
  // Connects through connector instead of real sockets (the fuzzers use this).
  THttpClientBase(THttpClientSettings settings, TTcpClient::Connector connector);
  virtual ~THttpClientBase();
  THttpClientBase(const THttpClientBase&) = delete;
  THttpClientBase& operator=(const THttpClientBase&) = delete;

  // HEAD: reads no body; Response().ContentLength is the size. Throws on every failure.
  void ProbeHead(std::string_view url);
  // GET: the body's bytes as they came. Throws on every failure.
  std::string FetchText(std::string_view url);

  const THttpResponse& Response() const { return response_; }
  // The current target: the URL record as the last call left it.
  const TUrlRecord& URL() const { return current_; }
  TProxySettings& ProxyParams() { return proxy_; }
  // Absent until the first header block has been read.
  const TCookieStore* CookieManager() const { return cookies_.get(); }
  // The request authenticator, created by a 401 challenge.
  const TBasicAuth* Authentication() const { return authenticator_.get(); }
  THttpClientSettings& Settings() { return settings_; }

 private:
  void DoRequest(THttpMethod method, std::string_view url, std::string* body);
  THttpRequest PrepareRequest(THttpMethod method, std::string_view url);
  void ChooseRoute(THttpRequest& request);
  // True when an open, kept-alive connection carries the call.
  bool ConnectIfNeeded();
  void SendAndReadFirstHead(THttpRequest& request, bool reused);
  void SendRequest(THttpRequest& request);
  void ReadHead();
  void DecideOutcome(THttpMethod method, std::string* body);
  [[noreturn]] void RaiseProtocolError(THttpMethod method);
  void ReadBody(std::string& dest, bool whole);
  void ReadChunked(std::string& dest);
  void SkipTrailer();
  void TakeChallenge();
  bool AnswersProxyChallenge(const THttpRequest& sent);
  void SkipChallengeBody(THttpMethod method);
  bool KeepAlive();
  void FinishCall();

  THttpClientSettings settings_;
  TTcpClient connection_;
  TUrlRecord current_;
  THttpResponse response_;
  TProxySettings proxy_;
  std::unique_ptr<TCookieStore> cookies_;
  std::unique_ptr<TBasicAuth> authenticator_;
  std::string requestUserName_, requestPassword_;
  // False from sending a request until its whole response has been read: a connection left
  // in the middle of a response cannot carry the next request.
  bool inSync_ = true;
};

// The program's client (HttpClient1 of the main window), with bounds a user accepts while the
// window waits: connect 20 s, each read 30 s, a whole exchange 60 s.
class THttpClient : public THttpClientBase {
 public:
  THttpClient();
  static THttpClientSettings ProgramSettings();
};

}  // namespace holvex
