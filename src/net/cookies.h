#pragma once
// The client's in-memory cookie store. Nothing is written to disk.
#include <cstdint>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "net/header_list.h"

namespace holvex {

struct TCookie {
  std::string name, value, path, domain;
  std::string expires;  // HTTP date text; empty: lives as long as the client
  bool secure = false;
  std::int64_t maxAge = -1;
  std::string version, comment;
  // Set-cookie2 (RFC 2965) only:
  bool rfc2965 = false;
  std::string commentUrl;
  bool discard = false;
  std::vector<std::int32_t> ports;
};

// One Set-cookie (rfc2965: Set-cookie2) value. now (seconds since 1970) turns Max-Age into an
// expiry. Throws EConvertError for a Port list entry that is not a number.
TCookie ParseCookie(std::string_view text, bool rfc2965, std::int64_t now);

// May a response from host set a cookie for this domain? (case-sensitive)
bool CookieDomainAcceptable(std::string_view domain, std::string_view host);
// Is a cookie of this domain sent to host? The host must be the domain itself or, for a
// domain beginning with ".", end with it (letter case ignored).
bool CookieDomainMatches(std::string_view domain, std::string_view host);
// An expiry in the past, or one that cannot be read.
bool CookieExpired(const TCookie& cookie, std::int64_t now);

class TCookieStore {
 public:
  // Bounds against a server that keeps sending new names; the oldest entries give way.
  static constexpr size_t kMaxCookiesPerDomain = 50;
  static constexpr size_t kMaxDomains = 50;

  // Every Set-cookie and Set-cookie2 value of a header block received from host.
  void TakeIn(const THeaderList& headers, const std::string& host, std::int64_t now);
  // Stores the cookie (its domain defaulting to host) when host may set it; a cookie of the
  // same name in that domain is replaced whatever its path.
  void Add(TCookie cookie, const std::string& host);
  void RemoveExpired(std::int64_t now);
  // "name=value; name=value" of the cookies to send to host for a request below path, longest
  // path first; "" when none match.
  std::string CookieValue(std::string_view host, std::string_view path) const;
  size_t size() const;

 private:
  struct Domain {
    std::string name;
    std::vector<TCookie> cookies;
  };
  mutable std::shared_mutex lock_;
  std::vector<Domain> domains_;
};

}  // namespace holvex
