#include "support/scripted_http_server.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace holvex::test {

namespace {

// The server talks to the platform's sockets directly, independent of the code under test.
#ifdef _WIN32
using RawSocket = SOCKET;
using AddressLength = int;
const RawSocket kNoSocket = INVALID_SOCKET;
void CloseRaw(RawSocket s) { closesocket(s); }
constexpr int kSendFlags = 0;
void StartSockets() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("WSAStartup failed");
}
#else
using RawSocket = int;
using AddressLength = socklen_t;
const RawSocket kNoSocket = -1;
void CloseRaw(RawSocket s) { close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL;
void StartSockets() {}
#endif

constexpr int kSliceMs = 50;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Readable within ms (checked in slices so that a stop ends the wait early)?
bool WaitReadable(RawSocket s, int ms, const std::atomic<bool>& stop) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{0, static_cast<long>(std::min<long long>(left.count(), kSliceMs) * 1000)};
    int r = select(static_cast<int>(s + 1), &set, nullptr, nullptr, &tv);
    if (r > 0) return true;
    if (r < 0) return false;
  }
  return false;
}

void SleepUnlessStopped(int ms, const std::atomic<bool>& stop) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop && std::chrono::steady_clock::now() < end) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp<long long>(left.count(), 1, kSliceMs)));
  }
}

// Where the head ends (just after its empty line), or npos.
size_t HeadEnd(const std::string& bytes) {
  size_t crlf = bytes.find("\r\n\r\n");
  size_t lf = bytes.find("\n\n");
  if (crlf == std::string::npos && lf == std::string::npos) return std::string::npos;
  if (lf == std::string::npos || (crlf != std::string::npos && crlf < lf)) return crlf + 4;
  return lf + 2;
}

size_t DeclaredBodyLength(const RecordedRequest& request) {
  std::string value = request.Header("Content-Length");
  if (value.empty() || value.size() > 9 ||
      !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  return std::stoul(value);
}

}  // namespace

// ---- scripts ----

ConnectionScript& ConnectionScript::Receive() {
  steps_.push_back({Step::Kind::kReceive, {}});
  return *this;
}
ConnectionScript& ConnectionScript::Send(std::string bytes) {
  steps_.push_back({Step::Kind::kSend, std::move(bytes)});
  return *this;
}
ConnectionScript& ConnectionScript::SendInPieces(std::string bytes, size_t pieceSize, int pauseMs) {
  steps_.push_back({Step::Kind::kSend, std::move(bytes), std::max<size_t>(pieceSize, 1), pauseMs});
  return *this;
}
ConnectionScript& ConnectionScript::Stream(std::string head, std::uint64_t bodyBytes, std::string unit) {
  Step step{Step::Kind::kStream, std::move(head)};
  step.count = bodyBytes;
  if (!unit.empty()) step.unit = std::move(unit);
  steps_.push_back(std::move(step));
  return *this;
}
ConnectionScript& ConnectionScript::Pause(int ms) {
  steps_.push_back({Step::Kind::kPause, {}, 0, ms});
  return *this;
}
ConnectionScript& ConnectionScript::Close() {
  steps_.push_back({Step::Kind::kClose, {}});
  return *this;
}
ConnectionScript& ConnectionScript::Reset() {
  steps_.push_back({Step::Kind::kReset, {}});
  return *this;
}
ConnectionScript& ConnectionScript::HoldOpen() {
  steps_.push_back({Step::Kind::kHoldOpen, {}});
  return *this;
}
ConnectionScript& ConnectionScript::AnswerEach(std::string response) {
  steps_.push_back({Step::Kind::kAnswerEach, std::move(response)});
  return *this;
}

// ---- recorded requests ----

std::string RecordedRequest::RequestLine() const {
  auto lines = Lines();
  return lines.empty() ? std::string() : lines.front();
}

std::vector<std::string> RecordedRequest::Lines() const {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < head.size()) {
    size_t lf = head.find('\n', pos);
    if (lf == std::string::npos) lf = head.size();
    std::string line = head.substr(pos, lf - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    pos = lf + 1;
  }
  return lines;
}

std::string RecordedRequest::Header(std::string_view name) const {
  auto lines = Lines();
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    size_t colon = line.find(':');
    if (colon != std::string_view::npos && SameName(line.substr(0, colon), name)) {
      return std::string(Trim(line.substr(colon + 1)));
    }
  }
  return {};
}

// ---- server ----

struct ScriptedServerState {
  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::atomic<bool> stop{false};
  std::vector<RecordedRequest> requests;
  int accepted = 0;
  int finished = 0;
  std::atomic<std::uint64_t> streamed{0};
  std::vector<std::thread> connections;
  RawSocket listener = kNoSocket;

  void Record(RecordedRequest request) {
    std::lock_guard lock(mutex);
    requests.push_back(std::move(request));
    changed.notify_all();
  }
  void Finish() {
    std::lock_guard lock(mutex);
    ++finished;
    changed.notify_all();
  }
};

namespace {

// Runs one script on one accepted socket.
class ScriptRunner {
 public:
  ScriptRunner(RawSocket s, int index, ScriptedServerState& shared)
      : socket_(s), index_(index), shared_(shared) {}

  void Run(const ConnectionScript& script) {
    for (const auto& step : script.steps()) {
      if (shared_.stop || !RunStep(step)) break;
    }
    CloseSocket(false);
  }

 private:
  using Kind = ConnectionScript::Step::Kind;

  // False ends the script.
  bool RunStep(const ConnectionScript::Step& step) {
    switch (step.kind) {
      case Kind::kReceive:
        return ReceiveRequest();
      case Kind::kSend:
        return step.pieceSize == 0 ? SendAll(step.bytes) : SendInPieces(step);
      case Kind::kPause:
        SleepUnlessStopped(step.ms, shared_.stop);
        return true;
      case Kind::kClose:
        CloseSocket(false);
        return false;
      case Kind::kReset:
        CloseSocket(true);
        return false;
      case Kind::kHoldOpen:
        while (ReadMore()) {
        }
        return false;
      case Kind::kAnswerEach:
        while (ReceiveRequest() && SendAll(step.bytes)) {
        }
        return false;
      case Kind::kStream:
        return SendAll(step.bytes) && StreamFiller(step.count, step.unit);
    }
    return false;
  }

  bool ReadMore() {
    if (!WaitReadable(socket_, kStepLimitMs, shared_.stop)) return false;
    char buffer[16384];
    int n = recv(socket_, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    pending_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  bool ReceiveRequest() {
    size_t headEnd;
    while ((headEnd = HeadEnd(pending_)) == std::string::npos) {
      if (!ReadMore()) return false;
    }
    RecordedRequest request;
    request.connection = index_;
    request.head = pending_.substr(0, headEnd);
    size_t bodyLength = DeclaredBodyLength(request);
    while (pending_.size() < headEnd + bodyLength) {
      if (!ReadMore()) return false;
    }
    request.body = pending_.substr(headEnd, bodyLength);
    pending_.erase(0, headEnd + bodyLength);
    shared_.Record(std::move(request));
    return true;
  }

  bool SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
      int n = send(socket_, bytes.data(), static_cast<int>(bytes.size()), kSendFlags);
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
  }

  bool StreamFiller(std::uint64_t count, const std::string& unit) {
    // A peer that stops taking bytes must not hold this thread: sends give up after the bound.
#ifdef _WIN32
    DWORD limit = kStepLimitMs;
#else
    timeval limit{kStepLimitMs / 1000, 0};
#endif
    setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    std::string filler;
    while (filler.size() < 65536 + unit.size()) filler += unit;
    size_t at = 0;  // where the next send starts in the repeating filler
    while (count > 0 && !shared_.stop) {
      const size_t piece = static_cast<size_t>(std::min<std::uint64_t>(count, 65536));
      int n = send(socket_, filler.data() + at, static_cast<int>(piece), kSendFlags);
      if (n <= 0) return false;
      at = (at + static_cast<size_t>(n)) % unit.size();
      count -= static_cast<std::uint64_t>(n);
      shared_.streamed += static_cast<std::uint64_t>(n);
    }
    return count == 0;
  }

  bool SendInPieces(const ConnectionScript::Step& step) {
    std::string_view rest = step.bytes;
    while (!rest.empty()) {
      if (!SendAll(rest.substr(0, step.pieceSize))) return false;
      rest.remove_prefix(std::min(rest.size(), step.pieceSize));
      if (!rest.empty()) SleepUnlessStopped(step.ms, shared_.stop);
    }
    return true;
  }

  void CloseSocket(bool abortive) {
    if (socket_ == kNoSocket) return;
    if (abortive) {
      linger hard{1, 0};
      setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    } else {
      shutdown(socket_, 1);  // send direction: the peer sees an orderly end
    }
    CloseRaw(socket_);
    socket_ = kNoSocket;
    shared_.Finish();
  }

  RawSocket socket_;
  int index_;
  ScriptedServerState& shared_;
  std::string pending_;
};

}  // namespace

namespace {

// A socket listening on 127.0.0.1 at a free port.
RawSocket Listen(int backlog, std::uint16_t& port) {
  StartSockets();
  RawSocket s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == kNoSocket) throw std::runtime_error("scripted server: no socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  AddressLength length = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, backlog) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseRaw(s);
    throw std::runtime_error("scripted server: cannot listen on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace

SilentListener::SilentListener() {
  std::uint16_t port = 0;
  socket_ = static_cast<std::uintptr_t>(Listen(0, port));
  port_ = port;
}
SilentListener::~SilentListener() { CloseRaw(static_cast<RawSocket>(socket_)); }

ScriptedHttpServer::ScriptedHttpServer(std::vector<ConnectionScript> scripts)
    : shared_(std::make_shared<ScriptedServerState>()), scripts_(std::move(scripts)) {
  shared_->listener = Listen(16, port_);
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

ScriptedHttpServer::~ScriptedHttpServer() { Stop(); }

void ScriptedHttpServer::AcceptLoop() {
  RawSocket listener = shared_->listener;
  while (!shared_->stop) {
    if (!WaitReadable(listener, kSliceMs, shared_->stop)) continue;
    RawSocket s = accept(listener, nullptr, nullptr);
    if (s == kNoSocket) continue;
    std::lock_guard lock(shared_->mutex);
    int index = shared_->accepted++;
    shared_->changed.notify_all();
    if (static_cast<size_t>(index) >= scripts_.size()) {
      CloseRaw(s);
      ++shared_->finished;
      continue;
    }
    shared_->connections.emplace_back([s, index, shared = shared_, script = scripts_[index]] {
      ScriptRunner(s, index, *shared).Run(script);
    });
  }
  CloseRaw(listener);
}

void ScriptedHttpServer::Stop() {
  shared_->stop = true;
  if (acceptThread_.joinable()) acceptThread_.join();
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(shared_->mutex);
    threads.swap(shared_->connections);
  }
  for (auto& t : threads) t.join();
}

std::string ScriptedHttpServer::Url(std::string_view pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

std::vector<RecordedRequest> ScriptedHttpServer::Requests() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->requests;
}

int ScriptedHttpServer::ConnectionsAccepted() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->accepted;
}

std::uint64_t ScriptedHttpServer::StreamedBytes() const { return shared_->streamed; }

int ScriptedHttpServer::ConnectionsFinished() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->finished;
}

bool ScriptedHttpServer::WaitForRequests(size_t count, int timeoutMs) const {
  std::unique_lock lock(shared_->mutex);
  return shared_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return shared_->requests.size() >= count; });
}

bool ScriptedHttpServer::WaitForConnectionsFinished(int count, int timeoutMs) const {
  std::unique_lock lock(shared_->mutex);
  return shared_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return shared_->finished >= count; });
}

}  // namespace holvex::test
