#include <winsock2.h>
// <windows.h> after <winsock2.h>, so that the old winsock.h stays out.
#include <windows.h>

#include <cstring>
#include <mutex>

#include "net/net_errors.h"
#include "net/socket_api.h"
#include "net/winsock_library.h"

namespace holvex::sockets {

struct WinsockFunctions {
  decltype(&::WSAStartup) wsaStartup;
  decltype(&::WSACleanup) wsaCleanup;
  decltype(&::WSAGetLastError) wsaGetLastError;
  decltype(&::socket) socket;
  decltype(&::bind) bind;
  decltype(&::gethostbyname) gethostbyname;
  decltype(&::connect) connect;
  decltype(&::select) select;
  decltype(&::recv) recv;
  decltype(&::send) send;
  decltype(&::shutdown) shutdown;
  decltype(&::closesocket) closesocket;
  decltype(&::htons) htons;
  decltype(&::ioctlsocket) ioctlsocket;
  decltype(&::getsockopt) getsockopt;
};

namespace {

template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn& slot) {
  FARPROC proc = GetProcAddress(module, name);
  if (proc == nullptr) throw EWinsockLoadError::FunctionNotFound(name);
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

void ResolveAll(HMODULE m, WinsockFunctions& f) {
  Resolve(m, "WSAStartup", f.wsaStartup);
  Resolve(m, "WSACleanup", f.wsaCleanup);
  Resolve(m, "WSAGetLastError", f.wsaGetLastError);
  Resolve(m, "socket", f.socket);
  Resolve(m, "bind", f.bind);
  Resolve(m, "gethostbyname", f.gethostbyname);
  Resolve(m, "connect", f.connect);
  Resolve(m, "select", f.select);
  Resolve(m, "recv", f.recv);
  Resolve(m, "send", f.send);
  Resolve(m, "shutdown", f.shutdown);
  Resolve(m, "closesocket", f.closesocket);
  Resolve(m, "htons", f.htons);
  Resolve(m, "ioctlsocket", f.ioctlsocket);
  Resolve(m, "getsockopt", f.getsockopt);
}

std::mutex startupLock;
std::unique_ptr<TWinsockLibrary> processLibrary;  // lives until the process ends

const WinsockFunctions& Api() { return processLibrary->functions(); }

SOCKET Raw(Handle s) { return static_cast<SOCKET>(s); }

timeval Interval(int ms) { return timeval{ms / 1000, (ms % 1000) * 1000}; }

int ConnectWithin(SOCKET s, const sockaddr_in& to, int timeoutMs, bool& timedOut) {
  const auto& f = Api();
  u_long on = 1;
  if (f.ioctlsocket(s, FIONBIO, &on) != 0) return f.wsaGetLastError();
  int result = 0;
  if (f.connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    int e = f.wsaGetLastError();
    if (e != WSAEWOULDBLOCK) return e;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv = Interval(timeoutMs);
    int ready = f.select(0, nullptr, &writable, &failed, &tv);
    if (ready < 0) return f.wsaGetLastError();
    if (ready == 0) {
      timedOut = true;
      return 0;
    }
    if (FD_ISSET(s, &failed)) {
      int soError = 0;
      int length = sizeof soError;
      f.getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length);
      result = soError != 0 ? soError : WSAECONNREFUSED;
    }
  }
  u_long off = 0;
  if (f.ioctlsocket(s, FIONBIO, &off) != 0 && result == 0) result = f.wsaGetLastError();
  return result;
}

}  // namespace

TWinsockLibrary::TWinsockLibrary(const std::string& dllName)
    : module_(LoadLibraryA(dllName.c_str())), functions_(std::make_unique<WinsockFunctions>()) {
  if (module_ == nullptr) throw EWinsockLoadError::LibraryNotLoaded(dllName, GetLastError());
  try {
    ResolveAll(static_cast<HMODULE>(module_), *functions_);
  } catch (...) {
    FreeLibrary(static_cast<HMODULE>(module_));
    throw;
  }
}

TWinsockLibrary::~TWinsockLibrary() {
  if (started_) functions_->wsaCleanup();
  FreeLibrary(static_cast<HMODULE>(module_));
}

void TWinsockLibrary::Start() {
  WSADATA data;
  if (functions_->wsaStartup(MAKEWORD(2, 2), &data) != 0) throw ESocketStackInitFailed();
  started_ = true;
}

void Startup() {
  std::lock_guard lock(startupLock);
  if (processLibrary) return;
  auto library = std::make_unique<TWinsockLibrary>("WS2_32.DLL");
  library->Start();
  processLibrary = std::move(library);
}

Handle Open() {
  SOCKET s = Api().socket(AF_INET, SOCK_STREAM, 0);
  const Handle handle = s == INVALID_SOCKET ? kInvalidHandle : static_cast<Handle>(s);
  detail::NoteOpened(handle);
  return handle;
}

int BindAny(Handle s) {
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_addr.s_addr = INADDR_ANY;
  const auto& f = Api();
  return f.bind(Raw(s), reinterpret_cast<sockaddr*>(&any), sizeof any) == 0 ? 0 : f.wsaGetLastError();
}

int LookUpHost(const std::string& name, std::uint32_t& address) {
  const auto& f = Api();
  hostent* found = f.gethostbyname(name.c_str());
  if (found == nullptr) {
    int e = f.wsaGetLastError();
    return e != 0 ? e : kHostNotFound;
  }
  if (found->h_addrtype != AF_INET || found->h_addr_list[0] == nullptr) return kHostNotFound;
  std::memcpy(&address, found->h_addr_list[0], sizeof address);
  return 0;
}

int Connect(Handle s, std::uint32_t address, std::uint16_t port, int timeoutMs, bool& timedOut) {
  timedOut = false;
  const auto& f = Api();
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = f.htons(port);
  if (timeoutMs > 0) return ConnectWithin(Raw(s), to, timeoutMs, timedOut);
  return f.connect(Raw(s), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 ? 0 : f.wsaGetLastError();
}

int WaitReadable(Handle s, int timeoutMs) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(Raw(s), &readable);
  timeval tv = Interval(timeoutMs < 0 ? 0 : timeoutMs);
  int r = Api().select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &tv);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int Receive(Handle s, char* buffer, int size) {
  int n = Api().recv(Raw(s), buffer, size, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

int Send(Handle s, const char* bytes, int size) {
  int n = Api().send(Raw(s), bytes, size, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

void ShutdownSend(Handle s) { Api().shutdown(Raw(s), SD_SEND); }
void Close(Handle s) {
  detail::NoteClosed(s);
  Api().closesocket(Raw(s));
}
int LastError() { return Api().wsaGetLastError(); }

}  // namespace holvex::sockets
