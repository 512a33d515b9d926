#pragma once
// What the TCP connection reads from and writes to: an open socket in the program, a byte
// script in the fuzzers. The connection applies every rule about closes and errors on top.
#include <memory>

namespace holvex {

class TTransport {
 public:
  virtual ~TTransport() = default;
  // The handle is still allocated (false after Close).
  virtual bool IsOpen() const = 0;
  // True when bytes or the peer's close can be read within timeoutMs (< 0: no limit).
  // Throws ESocketError when the wait itself fails.
  virtual bool WaitReadable(int timeoutMs) = 0;
  // Byte count, 0 for the peer's orderly close, -1 with the WinSock number in error.
  virtual int Receive(char* buffer, int size, int& error) = 0;
  // Count sent (possibly fewer than size), 0 when the peer is gone, -1 with error.
  virtual int Send(const char* bytes, int size, int& error) = 0;
  // Shuts the send direction, then frees the handle.
  virtual void Close() = 0;
};

}  // namespace holvex
