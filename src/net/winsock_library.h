#pragma once
// Windows only: WS2_32.DLL loaded at run time, every function the connection uses resolved by
// name. One instance lives for the process (see socket_api_win32.cpp); tests make their own to
// see the load errors.
#include <memory>
#include <string>

namespace holvex::sockets {

struct WinsockFunctions;

class TWinsockLibrary {
 public:
  // LoadLibraryA, then GetProcAddress for each function; throws EWinsockLoadError.
  explicit TWinsockLibrary(const std::string& dllName);
  // WSACleanup when started, then FreeLibrary.
  ~TWinsockLibrary();
  TWinsockLibrary(const TWinsockLibrary&) = delete;
  TWinsockLibrary& operator=(const TWinsockLibrary&) = delete;

  // WSAStartup for version 2.2; throws ESocketStackInitFailed.
  void Start();
  const WinsockFunctions& functions() const { return *functions_; }

 private:
  void* module_;
  std::unique_ptr<WinsockFunctions> functions_;
  bool started_ = false;
};

}  // namespace holvex::sockets
