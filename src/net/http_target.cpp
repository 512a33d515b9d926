#include "net/http_target.h"

#include "net/http_errors.h"
#include "net/wire_numbers.h"
#include "platform/text.h"

namespace holvex {

namespace {

bool DotDotSegmentAt(std::string_view s, size_t i) {
  return i > 0 && s[i - 1] == '/' && s.substr(i, 2) == ".." && (i + 2 == s.size() || s[i + 2] == '/');
}

void DropLastSegment(std::string& result) {
  if (!result.empty() && result.back() == '/') result.pop_back();
  size_t slash = result.rfind('/');
  result.erase(slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

std::string ResolvePath(std::string_view currentPath, std::string_view newPath) {
  if (StartsWith(newPath, "/")) return std::string(newPath);
  std::string joined(currentPath);
  if (!EndsWith(joined, "/")) joined += '/';
  joined += newPath;
  std::string result;
  for (size_t i = 0; i < joined.size(); ++i) {
    char c = joined[i];
    if (c == '/') {
      if (result.empty() || result.back() != '/') result += '/';
    } else if (DotDotSegmentAt(joined, i)) {
      DropLastSegment(result);
      ++i;
    } else {
      result += c;
    }
  }
  bool keepSlash = newPath.empty() || EndsWith(newPath, "/") || result == "/";
  if (!keepSlash && EndsWith(result, "/")) result.pop_back();
  return result.empty() ? "/" : result;  // ".." above the root stays at the root
}

void ApplyUrlToTarget(TUrlRecord& current, const TUrlRecord& url) {
  current.path = ResolvePath(current.path, url.path);
  current.document = url.document;
  current.params = url.params;
  if (!url.host.empty()) current.host = url.host;
  current.protocol = url.protocol.empty() ? "http" : url.protocol;
  if (!url.port.empty()) {
    current.port = url.port;
    return;
  }
  auto number = ParseInt32(current.port);
  int port = number ? *number : 0;
  if (port != 0 && port != 80 && port != 443) return;  // a non-standard port carries over
  if (EqualsIgnoreCase(current.protocol, "http")) {
    current.port = "80";
  } else if (EqualsIgnoreCase(current.protocol, "https")) {
    current.port = "443";
  } else {
    throw EUnknownProtocol();
  }
}

std::string RequestTargetOf(const TUrlRecord& target) { return target.path + target.document + target.params; }

std::string HostValueOf(const TUrlRecord& target) {
  return target.port == "80" ? target.host : target.host + ":" + target.port;
}

std::string AbsoluteTargetOf(const TUrlRecord& target) {
  std::string port = target.port.empty() ? std::string() : ":" + target.port;
  return target.protocol + "://" + target.host + port + RequestTargetOf(target);
}

std::uint16_t PortNumberOf(std::string_view port) {
  auto number = ParseInt32(TrimBlanks(port));
  if (!number || *number < 0 || *number > 65535) throw EConvertError(std::string(port));
  return static_cast<std::uint16_t>(*number);
}

}  // namespace holvex
