#include "net/http_request.h"

namespace holvex {

THeaderList THttpRequest::BuildHeaders() const {
  THeaderList headers;
  headers.SetValue("Content-Type", contentType);
  headers.SetValue("Host", host);
  headers.SetValue("Accept", accept);
  headers.SetValue("User-Agent", userAgent);
  headers.SetValue("Authorization", authorization);
  headers.SetValue("Proxy-Authorization", proxyAuthorization);
  headers.SetValue("Cookie", cookie);
  return headers;
}

std::vector<std::string> THttpRequest::HeadLines() const {
  std::vector<std::string> lines;
  lines.push_back((method == THttpMethod::methodHead ? "HEAD " : "GET ") + target + " HTTP/1.1");
  for (auto& line : BuildHeaders().FoldedLines()) lines.push_back(std::move(line));
  lines.emplace_back();
  return lines;
}

}  // namespace holvex
