#pragma once
// The request record and the head it puts on the wire.
#include <string>
#include <vector>

#include "net/header_list.h"

namespace holvex {

enum class THttpMethod { methodHead, methodGet };

struct THttpRequest {
  THttpMethod method = THttpMethod::methodGet;
  std::string target;  // between the method and the protocol in the request line
  std::string host;    // the Host value
  std::string userName, password;  // from the URL; recorded, never sent
  std::string contentType = "text/html";
  std::string accept = "text/html, */*";
  std::string userAgent = "Mozilla/3.0 (compatible; Holvex 2004)";
  std::string authorization, proxyAuthorization, cookie;  // empty: not sent

  // The header lines with a value, in their fixed order.
  THeaderList BuildHeaders() const;
  // Request line, header lines (folded where long) and the empty line, without line ends.
  std::vector<std::string> HeadLines() const;
};

}  // namespace holvex
