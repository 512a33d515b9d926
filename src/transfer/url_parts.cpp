#include "transfer/url_parts.h"

#include "platform/text.h"

namespace holvex {

namespace {
// Without the scheme and the user information.
std::string_view Authority(std::string_view url) {
  size_t scheme = ToUpperAscii(url).find("://");
  if (scheme != std::string::npos) url.remove_prefix(scheme + 3);
  size_t at = url.find('@');
  if (at != std::string_view::npos) url.remove_prefix(at + 1);
  return url;
}
}  // namespace

std::string UrlHost(std::string_view url) {
  std::string_view rest = Authority(url);
  return std::string(rest.substr(0, rest.find('/')));
}

std::string UrlPath(std::string_view url) {
  std::string_view rest = Authority(url);
  size_t slash = rest.find('/');
  return std::string(slash == std::string_view::npos ? rest : rest.substr(slash));
}

}  // namespace holvex
