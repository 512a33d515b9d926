#pragma once
// The blocking TCP connection of the probe client: an input buffer of received bytes, line and
// byte reading under the connection's time and length bounds, a write buffer so that a request
// head leaves in one piece, and the handling of a connection the peer has closed.
//
// The peer's orderly close is first only noted (a receive of 0 bytes); the next close check then
// closes the socket. Bytes already buffered can still be read after that.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/input_buffer.h"
#include "net/transport.h"

namespace holvex {

class TTcpConnection {
 public:
  static constexpr size_t kRecvBufferSize = 32768;
  static constexpr size_t kDefaultMaxLineLength = 16384;
  using Clock = std::chrono::steady_clock;

  TTcpConnection();
  virtual ~TTcpConnection();
  TTcpConnection(const TTcpConnection&) = delete;
  TTcpConnection& operator=(const TTcpConnection&) = delete;

  // Milliseconds a read waits for the peer; 0 means no limit.
  int readTimeout() const { return readTimeout_; }
  void setReadTimeout(int ms) { readTimeout_ = ms; }
  size_t maxLineLength() const { return maxLineLength_; }
  void setMaxLineLength(size_t n) { maxLineLength_ = n; }
  // Every read also ends (with EReadTimeout) at this point in time, if set.
  void setDeadline(std::optional<Clock::time_point> deadline) { deadline_ = deadline; }

  // A transport exists and its socket is open, after taking a reported close into account.
  bool Connected();
  // Closes the socket and frees the transport; buffered bytes stay readable.
  void Disconnect();

  // The next line without its LF and without one CR right before it. Throws
  // EMaxLineLengthExceeded for a line longer than maxLineLength, EConnClosedGracefully when the
  // peer has closed before a LF came, EReadTimeout, ESocketError.
  std::string ReadLn();
  // Appends exactly n bytes to dest (EConnClosedGracefully when the peer closes first).
  void ReadBytes(size_t n, std::string& dest);
  // Appends count bytes to dest; ends early, without error, only when the connection was already
  // closed before the remaining bytes were asked for (callers compare the size).
  void ReadStream(std::string& dest, size_t count);
  // Appends everything up to the peer's close; EBodyTooLarge once dest would exceed limit.
  void ReadUntilClose(std::string& dest, size_t limit);
  // Notices a close (or reset) the peer has already sent, waiting at most waitMs; no error.
  void PollForClose(int waitMs);

  // While the write buffer is open, writes collect in it; closing it sends everything (the
  // buffer is dropped also when that fails).
  void OpenWriteBuffer();
  void CloseWriteBuffer();
  void DiscardWriteBuffer() { writeBuffer_.reset(); }
  void Write(std::string_view bytes);
  void WriteLn(std::string_view line);

  const TInputBuffer& inputBuffer() const { return input_; }

 protected:
  // Empties the input buffer and forgets a noted close, before a new connect.
  void PrepareConnect();
  // Takes over a freshly connected transport.
  void Attach(std::unique_ptr<TTransport> transport);
  bool HasTransport() const { return transport_ != nullptr; }
  bool IsOpen() const { return transport_ && transport_->IsOpen(); }

 private:
  int ReceiveStep(bool raiseIfDisconnected, int timeoutMs, bool raiseOnTimeout);
  void CheckForDisconnect(bool raise, bool ignoreBuffer);
  void CloseSocket();
  void SendAll(std::string_view bytes);
  // timeoutMs -1 stands for readTimeout; the result is bounded by the deadline; -1 = no limit.
  int WaitFor(int timeoutMs) const;

  std::unique_ptr<TTransport> transport_;
  TInputBuffer input_;
  std::vector<char> block_;
  std::optional<std::string> writeBuffer_;
  bool closedGracefully_ = false;
  int readTimeout_ = 0;
  size_t maxLineLength_ = kDefaultMaxLineLength;
  std::optional<Clock::time_point> deadline_;
};

class TTcpClient : public TTcpConnection {
 public:
  using Connector =
      std::function<std::unique_ptr<TTransport>(const std::string& host, std::uint16_t port, int timeoutMs)>;

  // Starts the socket library (once per process) and connects with real sockets.
  TTcpClient();
  // Connects through connector instead (the fuzzers feed bytes from memory this way).
  explicit TTcpClient(Connector connector);

  const std::string& host() const { return host_; }
  void setHost(std::string host) { host_ = std::move(host); }
  std::uint16_t port() const { return port_; }
  void setPort(std::uint16_t port) { port_ = port; }

  // Opens the connection to host and port; timeoutMs <= 0 is one blocking connect. Throws
  // EAlreadyConnected when connected, and the connect errors of TSocketTransport.
  void Connect(int timeoutMs);

 private:
  Connector connector_;
  std::string host_;
  std::uint16_t port_ = 80;
};

}  // namespace holvex
