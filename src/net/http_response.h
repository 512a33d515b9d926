#pragma once
// The response record, rebuilt from every status line and header block.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/header_list.h"

namespace holvex {

// The second blank-separated token of a status line as an integer; -1 when it is none.
int ParseStatusCode(std::string_view statusLine);
// The size of a chunk-size line, extensions after ";" ignored; throws EBadChunk when the size
// is no hexadecimal number. Sizes beyond 64 bits read as UINT64_MAX.
std::uint64_t ParseChunkSize(std::string_view line);

struct THttpResponse {
  std::string statusLine;
  int statusCode = -1;
  THeaderList rawHeaders;

  std::string location, server, proxyConnection, connection, contentType, contentEncoding,
      contentLanguage, contentVersion, pragma, transferEncoding;
  // The trimmed Content-Length as a signed 32-bit number; -1 when absent or no such number.
  std::int32_t ContentLength = -1;
  bool hasContentLength = false;  // ContentLength >= 0
  // Seconds since 1970 (UTC); empty when absent or unreadable.
  std::optional<std::int64_t> date, lastModified, expires;
  std::int64_t contentRangeStart = 0, contentRangeEnd = 0;
  std::vector<std::string> wwwAuthenticate, proxyAuthenticate;

  // Fills the parsed values from rawHeaders; now (seconds since 1970) anchors an Expires given
  // as a number of seconds. Throws EConvertError for a Content-Range without numbers.
  void ProcessHeaders(std::int64_t now);
  // Neither Connection nor Proxy-Connection says "close", and an HTTP/1.0 server has not left
  // keep-alive unasked (such servers close after every answer).
  bool AllowsKeepAlive() const;
};

}  // namespace holvex
