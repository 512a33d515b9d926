#pragma once
// An open TCP socket as the connection's transport.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/socket_api.h"
#include "net/transport.h"

namespace holvex {

// The socket handle, closed (send direction shut first) when it goes.
class TSocketHandle {
 public:
  TSocketHandle() = default;
  explicit TSocketHandle(sockets::Handle h) : handle_(h) {}
  ~TSocketHandle() { Reset(); }
  TSocketHandle(TSocketHandle&& other) noexcept : handle_(other.Release()) {}
  TSocketHandle& operator=(TSocketHandle&& other) noexcept;
  TSocketHandle(const TSocketHandle&) = delete;
  TSocketHandle& operator=(const TSocketHandle&) = delete;

  sockets::Handle get() const { return handle_; }
  bool valid() const { return handle_ != sockets::kInvalidHandle; }
  sockets::Handle Release();
  void Reset();

 private:
  sockets::Handle handle_ = sockets::kInvalidHandle;
};

// Four "."-separated decimal parts of 0-255 as an IPv4 address in network byte order.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);

class TSocketTransport : public TTransport {
 public:
  explicit TSocketTransport(TSocketHandle socket) : socket_(std::move(socket)) {}

  // Creates the socket, binds it to any local address, resolves the host ("localhost" and
  // dotted addresses without a lookup) and connects. timeoutMs <= 0: one blocking connect.
  // Throws EInvalidSocket, ECouldNotBindSocket, ESocketError, EConnectTimeout or EConnectFailed;
  // nothing stays open on failure.
  static std::unique_ptr<TSocketTransport> Connect(const std::string& host, std::uint16_t port,
                                                   int timeoutMs);

  bool IsOpen() const override { return socket_.valid(); }
  bool WaitReadable(int timeoutMs) override;
  int Receive(char* buffer, int size, int& error) override;
  int Send(const char* bytes, int size, int& error) override;
  void Close() override { socket_.Reset(); }

 private:
  TSocketHandle socket_;
};

}  // namespace holvex
