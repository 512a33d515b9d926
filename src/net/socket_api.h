#pragma once
// The few socket operations the TCP connection needs, over WinSock 2 (WS2_32.DLL loaded at run
// time) on Windows and BSD sockets elsewhere. Failures come back as WinSock error numbers on
// both, so messages and tests do not depend on the platform.
#include <cstdint>
#include <string>

namespace holvex::sockets {

using Handle = std::uintptr_t;
inline constexpr Handle kInvalidHandle = ~Handle{0};

// WinSock error numbers the connection tells apart.
inline constexpr int kAddressInUse = 10048;
inline constexpr int kConnectionAborted = 10053;
inline constexpr int kConnectionReset = 10054;
inline constexpr int kShutDown = 10058;
inline constexpr int kHostNotFound = 11001;

// Starts the socket library once per process (the first call wins; later calls return at once).
// Throws EWinsockLoadError or ESocketStackInitFailed.
void Startup();

// IPv4 stream socket, or kInvalidHandle.
Handle Open();
// Binds to 0.0.0.0 port 0; 0 or an error number.
int BindAny(Handle s);
// The first IPv4 address of a host name (network byte order); 0 or an error number.
int LookUpHost(const std::string& name, std::uint32_t& address);
// Blocking connect, or with timeoutMs > 0 a connect bounded in time (timedOut tells a timeout
// apart, the return value is then 0). 0 or an error number.
int Connect(Handle s, std::uint32_t address, std::uint16_t port, int timeoutMs, bool& timedOut);
// 1 readable (data or the peer's close), 0 time is up, -1 error; timeoutMs < 0 waits without limit.
int WaitReadable(Handle s, int timeoutMs);
// Byte count, 0 for the peer's orderly close, -1 on error (see LastError).
int Receive(Handle s, char* buffer, int size);
int Send(Handle s, const char* bytes, int size);
void ShutdownSend(Handle s);
void Close(Handle s);
// The error number of the last failed call of this thread.
int LastError();

// Whether s was opened by Open and not closed since: one of the program's own sockets, not one
// that a library of the process (WinInet) opened.
bool IsOwn(Handle s);

namespace detail {
// Kept by Open and Close of each backend.
void NoteOpened(Handle s);
void NoteClosed(Handle s);
}  // namespace detail

}  // namespace holvex::sockets
