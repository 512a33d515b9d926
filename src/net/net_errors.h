#pragma once
// The failures of the probe client and its TCP connection. Each kind is its own class and
// carries the German message the program shows or logs; callers may catch ENetException.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace holvex {

class ENetException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- connection level ----

// A socket call failed: "Socket-Fehler # <n>\r\n<description>" with the WinSock error number.
class ESocketError : public ENetException {
 public:
  explicit ESocketError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// A connect with a time bound failed for a reason other than the bound; same text as ESocketError.
class EConnectFailed : public ENetException {
 public:
  explicit EConnectFailed(int code);
  int code() const { return code_; }

 private:
  int code_;
};

#define HOLVEX_FIXED_TEXT_ERROR(Name)  \
  class Name : public ENetException {  \
   public:                             \
    Name();                            \
  };

HOLVEX_FIXED_TEXT_ERROR(EConnectTimeout)         // "Zeitüberschreitung der Verbindung."
HOLVEX_FIXED_TEXT_ERROR(EReadTimeout)            // "Zeitüberschreitung beim Lesen"
HOLVEX_FIXED_TEXT_ERROR(EConnClosedGracefully)   // "Die Verbindung wurde erfolgreich geschlossen."
HOLVEX_FIXED_TEXT_ERROR(ENotConnected)           // "Nicht verbunden"
HOLVEX_FIXED_TEXT_ERROR(EAlreadyConnected)       // "Verbindung besteht bereits."
HOLVEX_FIXED_TEXT_ERROR(EMaxLineLengthExceeded)  // "Max. Zeilenlänge überschritten."
HOLVEX_FIXED_TEXT_ERROR(EInvalidSocket)          // "Socket kann nicht zugewiesen werden."
HOLVEX_FIXED_TEXT_ERROR(ECouldNotBindSocket)     // "Socket konnte nicht gebunden werden. ..."
HOLVEX_FIXED_TEXT_ERROR(ESocketStackInitFailed)  // "Fehler bei der Winsock-Initialisierung."
// A body larger than the reader's bound: "Die Antwort ist zu groß."
HOLVEX_FIXED_TEXT_ERROR(EBodyTooLarge)

#undef HOLVEX_FIXED_TEXT_ERROR

// WS2_32.DLL could not be loaded (the text names the library; code is the system error number)
// or one of its functions could not be resolved (the text names the function).
class EWinsockLoadError : public ENetException {
 public:
  static EWinsockLoadError LibraryNotLoaded(const std::string& library, std::uint32_t systemError);
  static EWinsockLoadError FunctionNotFound(const std::string& function);
  std::uint32_t systemError() const { return systemError_; }

 private:
  EWinsockLoadError(const std::string& message, std::uint32_t systemError)
      : ENetException(message), systemError_(systemError) {}
  std::uint32_t systemError_;
};

// The German description of a WinSock error number; empty for numbers without one.
std::string SocketErrorDescription(int code);
std::string SocketErrorMessage(int code);

}  // namespace holvex
