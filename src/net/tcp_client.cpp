#include "net/tcp_client.h"

#include <algorithm>

#include "net/net_errors.h"
#include "net/socket_api.h"
#include "net/socket_transport.h"

namespace holvex {

namespace {
constexpr int kNoLimit = -1;
}

TTcpConnection::TTcpConnection() : block_(kRecvBufferSize) {}
TTcpConnection::~TTcpConnection() = default;

void TTcpConnection::PrepareConnect() {
  input_.Clear();
  closedGracefully_ = false;
  writeBuffer_.reset();
}

void TTcpConnection::Attach(std::unique_ptr<TTransport> transport) { transport_ = std::move(transport); }

bool TTcpConnection::Connected() {
  CheckForDisconnect(false, false);
  return IsOpen();
}

void TTcpConnection::Disconnect() {
  if (!transport_) return;
  transport_->Close();
  transport_.reset();
}

void TTcpConnection::CloseSocket() {
  if (IsOpen()) transport_->Close();
}

void TTcpConnection::CheckForDisconnect(bool raise, bool ignoreBuffer) {
  if (!closedGracefully_ && transport_) return;
  CloseSocket();
  if (raise && (ignoreBuffer || input_.empty())) throw EConnClosedGracefully();
}

int TTcpConnection::WaitFor(int timeoutMs) const {
  int wait = timeoutMs;
  if (timeoutMs == -1) wait = readTimeout_ > 0 ? readTimeout_ : kNoLimit;
  if (!deadline_) return wait;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now()).count();
  int leftMs = static_cast<int>(std::clamp<long long>(left, 0, 0x7fffffff));
  return (wait < 0 || wait > leftMs) ? leftMs : wait;
}

int TTcpConnection::ReceiveStep(bool raiseIfDisconnected, int timeoutMs, bool raiseOnTimeout) {
  int wait = WaitFor(timeoutMs);
  CheckForDisconnect(raiseIfDisconnected, false);
  if (!IsOpen()) {
    if (raiseIfDisconnected) throw ENotConnected();
    return 0;
  }
  int n;
  do {
    if (!transport_->WaitReadable(wait)) {
      if (raiseOnTimeout) throw EReadTimeout();
      return -1;
    }
    int error = 0;
    n = transport_->Receive(block_.data(), static_cast<int>(block_.size()), error);
    if (n == 0) {
      closedGracefully_ = true;
    } else if (n < 0) {
      bool aborted = error == sockets::kConnectionAborted || error == sockets::kShutDown;
      if (!aborted || input_.empty()) throw ESocketError(error);
      CloseSocket();
      n = 0;
    } else {
      input_.Append(block_.data(), static_cast<size_t>(n));
    }
    CheckForDisconnect(raiseIfDisconnected, false);
  } while (n == 0 && IsOpen());
  return n;
}

std::string TTcpConnection::ReadLn() {
  size_t searchFrom = 0;
  for (;;) {
    size_t lf = input_.Find('\n', searchFrom);
    if (lf != std::string::npos) {
      if (lf > maxLineLength_) throw EMaxLineLengthExceeded();
      std::string line(input_.View().substr(0, lf));
      input_.Consume(lf + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (input_.size() > maxLineLength_) throw EMaxLineLengthExceeded();
    searchFrom = input_.size();
    CheckForDisconnect(true, true);
    ReceiveStep(true, -1, true);
  }
}

void TTcpConnection::ReadBytes(size_t n, std::string& dest) {
  while (input_.size() < n) {
    ReceiveStep(true, -1, true);
    CheckForDisconnect(true, true);
  }
  input_.MoveTo(n, dest);
}

void TTcpConnection::ReadStream(std::string& dest, size_t count) {
  dest.reserve(dest.size() + count);
  size_t remaining = count;
  size_t buffered = std::min(input_.size(), remaining);
  input_.MoveTo(buffered, dest);
  remaining -= buffered;
  while (remaining > 0 && Connected()) {
    size_t want = std::min(remaining, kRecvBufferSize);
    ReadBytes(want, dest);
    remaining -= want;
  }
}

void TTcpConnection::ReadUntilClose(std::string& dest, size_t limit) {
  auto takeBuffered = [&] {
    if (input_.size() > limit - std::min(limit, dest.size())) throw EBodyTooLarge();
    input_.MoveTo(input_.size(), dest);
  };
  takeBuffered();
  try {
    while (Connected()) {
      ReceiveStep(true, -1, true);
      takeBuffered();
    }
  } catch (const EConnClosedGracefully&) {
  }
  takeBuffered();
}

void TTcpConnection::PollForClose(int waitMs) {
  try {
    ReceiveStep(false, waitMs, false);
  } catch (const ESocketError&) {
    Disconnect();  // reset while idle: the next call simply connects anew
  }
}

void TTcpConnection::OpenWriteBuffer() { writeBuffer_.emplace(); }

void TTcpConnection::CloseWriteBuffer() {
  if (!writeBuffer_) return;
  std::string pending = std::move(*writeBuffer_);
  writeBuffer_.reset();
  if (pending.empty()) return;
  CheckForDisconnect(true, true);
  if (!IsOpen()) throw ENotConnected();
  SendAll(pending);
}

void TTcpConnection::Write(std::string_view bytes) {
  if (bytes.empty()) return;
  CheckForDisconnect(true, true);
  if (!IsOpen()) throw ENotConnected();
  if (writeBuffer_) {
    writeBuffer_->append(bytes);
    return;
  }
  SendAll(bytes);
}

void TTcpConnection::WriteLn(std::string_view line) {
  std::string withEnd(line);
  withEnd += "\r\n";
  Write(withEnd);
}

void TTcpConnection::SendAll(std::string_view bytes) {
  while (!bytes.empty()) {
    int error = 0;
    int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 0x40000000));
    int n = transport_->Send(bytes.data(), chunk, error);
    if (n == 0) {
      CloseSocket();
      throw EConnClosedGracefully();
    }
    if (n < 0) {
      if (error == sockets::kConnectionAborted || error == sockets::kConnectionReset ||
          error == sockets::kShutDown) {
        CloseSocket();
      }
      throw ESocketError(error);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

TTcpClient::TTcpClient()
    : TTcpClient([](const std::string& host, std::uint16_t port, int timeoutMs) -> std::unique_ptr<TTransport> {
        return TSocketTransport::Connect(host, port, timeoutMs);
      }) {
  sockets::Startup();
}

TTcpClient::TTcpClient(Connector connector) : connector_(std::move(connector)) {}

void TTcpClient::Connect(int timeoutMs) {
  if (HasTransport() && Connected()) throw EAlreadyConnected();
  Disconnect();
  PrepareConnect();
  Attach(connector_(host_, port_, timeoutMs));
}

}  // namespace holvex
