#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/socket_api.h"

namespace holvex::sockets {

namespace {

thread_local int lastError = 0;

struct ErrnoMapping {
  int errnoValue;
  int winsock;
};

constexpr ErrnoMapping kMappings[] = {
    {EINTR, 10004},           {EBADF, 10009},        {EACCES, 10013},          {EFAULT, 10014},
    {EINVAL, 10022},          {EMFILE, 10024},       {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
    {EALREADY, 10037},        {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},     {ENETUNREACH, 10051},     {ENETRESET, 10052},
    {ECONNABORTED, 10053},    {ECONNRESET, 10054},   {ENOBUFS, 10055},         {EISCONN, 10056},
    {ENOTCONN, 10057},        {ESHUTDOWN, 10058},    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {ELOOP, 10062},        {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
    // Writing to a connection the peer has reset: WinSock reports the reset itself.
    {EPIPE, 10054},
};

int ToWinsock(int e) {
  for (const auto& m : kMappings) {
    if (m.errnoValue == e) return m.winsock;
  }
  return e;
}

int Fail() {
  lastError = ToWinsock(errno);
  return -1;
}

int Fd(Handle s) { return static_cast<int>(s); }

// Milliseconds as poll() takes them: negative means no limit.
int PollFor(Handle s, short events, int timeoutMs) {
  pollfd p{Fd(s), events, 0};
  int r;
  do {
    r = poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
  } while (r < 0 && errno == EINTR);
  return r < 0 ? Fail() : r;
}

int SetNonBlocking(Handle s, bool on) {
  int flags = fcntl(Fd(s), F_GETFL, 0);
  if (flags < 0) return ToWinsock(errno);
  flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(Fd(s), F_SETFL, flags) < 0 ? ToWinsock(errno) : 0;
}

int ConnectWithin(Handle s, const sockaddr_in& to, int timeoutMs, bool& timedOut) {
  if (int e = SetNonBlocking(s, true)) return e;
  int result = 0;
  if (connect(Fd(s), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    if (errno != EINPROGRESS) return ToWinsock(errno);
    int ready = PollFor(s, POLLOUT, timeoutMs);
    if (ready < 0) return lastError;
    if (ready == 0) {
      timedOut = true;
      return 0;
    }
    int soError = 0;
    socklen_t length = sizeof soError;
    if (getsockopt(Fd(s), SOL_SOCKET, SO_ERROR, &soError, &length) != 0) return ToWinsock(errno);
    result = ToWinsock(soError);
  }
  if (int e = SetNonBlocking(s, false)) return e;
  return result;
}

}  // namespace

void Startup() {}

Handle Open() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    Fail();
    return kInvalidHandle;
  }
  detail::NoteOpened(static_cast<Handle>(fd));
  return static_cast<Handle>(fd);
}

int BindAny(Handle s) {
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  return bind(Fd(s), reinterpret_cast<sockaddr*>(&any), sizeof any) == 0 ? 0 : ToWinsock(errno);
}

int LookUpHost(const std::string& name, std::uint32_t& address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  int r = getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (r != 0 || found == nullptr) {
    if (found) freeaddrinfo(found);
    return r == EAI_AGAIN ? 11002 : kHostNotFound;
  }
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return 0;
}

int Connect(Handle s, std::uint32_t address, std::uint16_t port, int timeoutMs, bool& timedOut) {
  timedOut = false;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = htons(port);
  if (timeoutMs > 0) return ConnectWithin(s, to, timeoutMs, timedOut);
  int r;
  do {
    r = connect(Fd(s), reinterpret_cast<const sockaddr*>(&to), sizeof to);
  } while (r != 0 && errno == EINTR);
  return r == 0 ? 0 : ToWinsock(errno);
}

int WaitReadable(Handle s, int timeoutMs) {
  int r = PollFor(s, POLLIN, timeoutMs);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int Receive(Handle s, char* buffer, int size) {
  ssize_t n;
  do {
    n = recv(Fd(s), buffer, static_cast<size_t>(size), 0);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? Fail() : static_cast<int>(n);
}

int Send(Handle s, const char* bytes, int size) {
  ssize_t n;
  do {
    n = send(Fd(s), bytes, static_cast<size_t>(size), MSG_NOSIGNAL);  // a broken pipe is an error, not a signal
  } while (n < 0 && errno == EINTR);
  return n < 0 ? Fail() : static_cast<int>(n);
}

void ShutdownSend(Handle s) { shutdown(Fd(s), SHUT_WR); }
void Close(Handle s) {
  detail::NoteClosed(s);
  close(Fd(s));
}
int LastError() { return lastError; }

}  // namespace holvex::sockets
