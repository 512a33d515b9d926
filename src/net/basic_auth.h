#pragma once
// The Basic authentication scheme, the only one the client knows.
#include <string>
#include <string_view>

namespace holvex {

// RFC 2045 Base64 with "=" padding, no line breaks.
std::string EncodeBase64(std::string_view bytes);

// Does the first word of a WWW-Authenticate / Proxy-Authenticate value name "Basic"?
bool NamesBasicScheme(std::string_view challenge);

class TBasicAuth {
 public:
  std::string userName, password;
  // "Basic " + Base64 of "user:password".
  std::string Authentication() const { return "Basic " + EncodeBase64(userName + ":" + password); }
  void Reset() {
    userName.clear();
    password.clear();
  }
};

}  // namespace holvex
