#include "net/fuzz_drivers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "net/http_client.h"
#include "net/http_date.h"
#include "net/http_errors.h"
#include "net/http_target.h"
#include "net/transport.h"
#include "net/url_record.h"

namespace holvex::fuzz {

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Delivers one connection's bytes in pieces of a fixed size, then an orderly close.
class ScriptTransport : public TTransport {
 public:
  ScriptTransport(std::string_view bytes, size_t piece) : bytes_(bytes), piece_(piece) {}
  bool IsOpen() const override { return open_; }
  bool WaitReadable(int) override { return true; }
  int Receive(char* buffer, int size, int&) override {
    size_t n = std::min({static_cast<size_t>(size), piece_, bytes_.size()});
    std::memcpy(buffer, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return static_cast<int>(n);
  }
  int Send(const char*, int size, int&) override { return size; }
  void Close() override { open_ = false; }

 private:
  std::string_view bytes_;
  size_t piece_;
  bool open_ = true;
};

std::vector<std::string_view> Connections(std::string_view data) {
  std::vector<std::string_view> parts;
  for (;;) {
    size_t at = data.find("\n~~\n");
    parts.push_back(data.substr(0, at));
    if (at == std::string_view::npos) return parts;
    data.remove_prefix(at + 4);
  }
}

}  // namespace

void ReplayServerBytes(std::string_view data) {
  if (data.empty()) return;
  auto flags = static_cast<unsigned char>(data.front());
  data.remove_prefix(1);
  static constexpr size_t kPieces[] = {1, 7, 64, 32768};
  size_t piece = kPieces[(flags >> 3) & 3];
  auto parts = Connections(data);
  size_t next = 0;
  THttpClientSettings settings;
  settings.MaxBodyLength = 1 << 20;
  settings.MaxHeaderBytes = 64 * 1024;
  THttpClientBase client(settings, [&](const std::string&, std::uint16_t, int) -> std::unique_ptr<TTransport> {
    if (next >= parts.size()) throw ESocketError(10061);
    return std::make_unique<ScriptTransport>(parts[next++], piece);
  });
  if (flags & 0x20) {
    client.ProxyParams().SetProxyServer("proxy.example");
    client.ProxyParams().SetProxyPort(8080);
  }
  const char* urls[] = {"http://fuzz.example/a/b.zip", "http://fuzz.example:8080/a/c?x=1", "../d/"};
  for (int i = 0; i < 3; ++i) {
    bool get = flags & (1 << i);
    try {
      if (get) {
        std::string body = client.FetchText(urls[i]);
        Check(body.size() <= settings.MaxBodyLength);
      } else {
        client.ProbeHead(urls[i]);
        Check(client.Response().hasContentLength == (client.Response().ContentLength >= 0));
      }
    } catch (const ENetException&) {
      // every failure a server can cause is one of the client's own exceptions
    }
  }
}

void ReplayUrlText(std::string_view data) {
  TUrlRecord url(data);
  std::string text(data);
  std::replace(text.begin(), text.end(), '\\', '/');  // the splitter reads "\\" as "/"
  bool absolute = text.find("://") != std::string::npos;
  Check(url.userName.empty() ? url.password.empty() : true);
  Check(absolute || (url.protocol.empty() && url.host.empty() && url.port.empty() && url.userName.empty()));
  Check(!absolute || (!url.path.empty() && url.path.front() == '/'));
  Check(url.document.find('/') == std::string::npos);
  for (const std::string* field : {&url.protocol, &url.host, &url.path, &url.document, &url.params}) {
    Check(field->find('\\') == std::string::npos);
  }

  TUrlRecord current;
  current.port = "80";
  current.path = "/x/y/";
  try {
    ApplyUrlToTarget(current, url);
    Check(!current.protocol.empty() && !current.port.empty());
    Check(!current.path.empty() && current.path.front() == '/');  // a request target never starts empty
    Check(RequestTargetOf(current).front() == '/');
    (void)HostValueOf(current);
    (void)AbsoluteTargetOf(current);
  } catch (const EUnknownProtocol&) {
  }
  (void)ParseHttpDate(data);
}

}  // namespace holvex::fuzz
