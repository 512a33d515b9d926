#include "net/basic_auth.h"

#include <algorithm>

#include "platform/text.h"

namespace holvex {

std::string EncodeBase64(std::string_view bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    size_t n = std::min<size_t>(3, bytes.size() - i);
    unsigned block = 0;
    for (size_t k = 0; k < 3; ++k) {
      block = (block << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) {
      out += k <= n ? kAlphabet[(block >> (18 - 6 * k)) & 0x3f] : '=';
    }
  }
  return out;
}

bool NamesBasicScheme(std::string_view challenge) {
  std::string_view trimmed = TrimBlanks(challenge);
  return EqualsIgnoreCase(trimmed.substr(0, trimmed.find(' ')), "Basic");
}

}  // namespace holvex
