#include "net/http_response.h"

#include "net/http_date.h"
#include "net/http_errors.h"
#include "net/wire_numbers.h"
#include "platform/text.h"

namespace holvex {

namespace {

// The text before the first sep (all of it without one); text keeps what follows.
std::string_view Fetch(std::string_view& text, char sep) {
  size_t at = text.find(sep);
  std::string_view head = text.substr(0, at);
  text = at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
  return head;
}

std::int64_t RangeNumber(std::string_view text) {
  std::string_view trimmed = TrimBlanks(text);
  auto value = ParseDecimal(trimmed);
  if (!value) throw EConvertError(std::string(trimmed));
  return *value;
}

}  // namespace

int ParseStatusCode(std::string_view statusLine) {
  std::string_view rest = TrimBlanks(statusLine);
  size_t blank = rest.find(' ');
  if (blank == std::string_view::npos) return -1;
  rest = TrimBlanks(rest.substr(blank + 1));
  auto code = ParseInt32(rest.substr(0, rest.find(' ')));
  return code ? *code : -1;
}

std::uint64_t ParseChunkSize(std::string_view line) {
  std::string_view trimmed = TrimBlanks(line);
  std::string_view size = TrimBlanks(trimmed.substr(0, trimmed.find_first_of(";\t ")));
  auto value = ParseHexSaturating(size);
  if (!value) throw EBadChunk();
  return *value;
}

void THttpResponse::ProcessHeaders(std::int64_t now) {
  const THeaderList& h = rawHeaders;
  location = h.Value("Location");
  server = h.Value("Server");
  proxyConnection = h.Value("Proxy-Connection");
  connection = h.Value("Connection");
  contentType = h.Value("Content-Type");
  contentEncoding = h.Value("Content-Encoding");
  contentLanguage = h.Value("Content-Language");
  contentVersion = h.Value("Content-Version");
  pragma = h.Value("Pragma");
  transferEncoding = h.Value("Transfer-Encoding");

  auto length = ParseInt32(h.Value("Content-Length"));
  ContentLength = length ? *length : -1;
  hasContentLength = ContentLength >= 0;

  date = ParseHttpDate(h.Value("Date"));
  lastModified = ParseHttpDate(h.Value("Last-Modified"));
  std::string expiresText = h.Value("Expires");
  if (auto seconds = ParseDecimal(expiresText); seconds && *seconds > -(1LL << 40) && *seconds < (1LL << 40)) {
    expires = now + *seconds;
  } else {
    expires = ParseHttpDate(expiresText);
  }

  std::string range = h.Value("Content-Range");
  if (!range.empty()) {
    std::string_view rest = range;
    Fetch(rest, ' ');  // the unit
    contentRangeStart = RangeNumber(Fetch(rest, '-'));
    contentRangeEnd = RangeNumber(Fetch(rest, '/'));
  }

  wwwAuthenticate = h.Values("WWW-Authenticate");
  proxyAuthenticate = h.Values("Proxy-Authenticate");
}

bool THttpResponse::AllowsKeepAlive() const {
  if (EqualsIgnoreCase(TrimBlanks(connection), "close") || EqualsIgnoreCase(TrimBlanks(proxyConnection), "close")) {
    return false;
  }
  bool http10 = StartsWith(statusLine, "HTTP/1.0");
  return !http10 || EqualsIgnoreCase(TrimBlanks(connection), "keep-alive") ||
         EqualsIgnoreCase(TrimBlanks(proxyConnection), "keep-alive");
}

}  // namespace holvex
