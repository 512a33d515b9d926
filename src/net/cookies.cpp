#include "net/cookies.h"

#include <algorithm>
#include <mutex>

#include "net/http_date.h"
#include "net/http_errors.h"
#include "net/socket_transport.h"
#include "net/wire_numbers.h"
#include "platform/text.h"

namespace holvex {

namespace {

constexpr std::int64_t kMaxAgeLimit = 100LL * 365 * 86400;  // keeps now + Max-Age in range

std::string_view Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

std::vector<std::string_view> SplitTrimmed(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  for (;;) {
    size_t at = text.find(sep);
    parts.push_back(TrimBlanks(text.substr(0, at)));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

std::vector<std::int32_t> ParsePorts(std::string_view list) {
  std::vector<std::int32_t> ports;
  list = Unquote(list);
  if (TrimBlanks(list).empty()) return ports;
  for (std::string_view entry : SplitTrimmed(list, ',')) {
    auto port = ParseInt32(entry);
    if (!port) throw EConvertError(std::string(entry));
    ports.push_back(*port);
  }
  return ports;
}

void ApplyAttribute(TCookie& cookie, const std::string& name, std::string_view value) {
  if (name == "PATH") {
    cookie.path = std::string(Unquote(value));
  } else if (name == "EXPIRES") {
    cookie.expires = std::string(value);
  } else if (name == "DOMAIN") {
    cookie.domain = std::string(value);
  } else if (name == "SECURE") {
    cookie.secure = true;
  } else if (name == "MAX-AGE") {
    auto age = ParseDecimal(value);
    cookie.maxAge = age ? std::clamp<std::int64_t>(*age, -1, kMaxAgeLimit) : -1;
  } else if (name == "VERSION") {
    cookie.version = std::string(value);
  } else if (name == "COMMENT") {
    cookie.comment = std::string(value);
  } else if (cookie.rfc2965 && name == "COMMENTURL") {
    cookie.commentUrl = std::string(value);
  } else if (cookie.rfc2965 && name == "DISCARD") {
    cookie.discard = true;
  } else if (cookie.rfc2965 && name == "PORT") {
    cookie.ports = ParsePorts(value);
  }
}

bool PathDescending(const TCookie& a, const TCookie& b) {
  return ToUpperAscii(a.path) > ToUpperAscii(b.path);
}

}  // namespace

TCookie ParseCookie(std::string_view text, bool rfc2965, std::int64_t now) {
  TCookie cookie;
  cookie.rfc2965 = rfc2965;
  auto parts = SplitTrimmed(text, ';');
  std::string_view first = parts.front();
  size_t eq = first.find('=');
  cookie.name = std::string(first.substr(0, eq));
  if (eq != std::string_view::npos) cookie.value = std::string(first.substr(eq + 1));
  for (size_t i = 1; i < parts.size(); ++i) {
    size_t at = parts[i].find('=');
    std::string name = ToUpperAscii(TrimBlanks(parts[i].substr(0, at)));
    std::string_view value = at == std::string_view::npos ? std::string_view() : TrimBlanks(parts[i].substr(at + 1));
    ApplyAttribute(cookie, name, value);
  }
  if (cookie.expires.empty() && cookie.maxAge >= 0) cookie.expires = FormatHttpDate(now + cookie.maxAge);
  return cookie;
}

bool CookieDomainAcceptable(std::string_view domain, std::string_view host) {
  if (ParseDottedQuad(host) || domain.empty() || domain.front() != '.') return domain == host;
  size_t dot = host.find('.');
  return dot != std::string_view::npos && host.substr(dot) == domain;
}

bool CookieDomainMatches(std::string_view domain, std::string_view host) {
  if (EqualsIgnoreCase(domain, host)) return true;
  if (domain.size() < 2 || domain.front() != '.') return false;
  if (EqualsIgnoreCase(domain.substr(1), host)) return true;
  return host.size() > domain.size() && EqualsIgnoreCase(host.substr(host.size() - domain.size()), domain);
}

bool CookieExpired(const TCookie& cookie, std::int64_t now) {
  if (cookie.expires.empty()) return false;
  auto at = ParseHttpDate(cookie.expires);
  return !at || *at < now;
}

void TCookieStore::TakeIn(const THeaderList& headers, const std::string& host, std::int64_t now) {
  for (const auto& value : headers.Values("Set-cookie")) Add(ParseCookie(value, false, now), host);
  for (const auto& value : headers.Values("Set-cookie2")) Add(ParseCookie(value, true, now), host);
}

void TCookieStore::Add(TCookie cookie, const std::string& host) {
  if (cookie.name.empty()) return;
  if (cookie.domain.empty()) cookie.domain = host;
  if (!CookieDomainAcceptable(cookie.domain, host)) return;
  std::unique_lock lock(lock_);
  auto domain = std::find_if(domains_.begin(), domains_.end(),
                             [&](const Domain& d) { return EqualsIgnoreCase(d.name, cookie.domain); });
  if (domain == domains_.end()) {
    if (domains_.size() >= kMaxDomains) domains_.erase(domains_.begin());
    domains_.push_back({cookie.domain, {}});
    domain = domains_.end() - 1;
  }
  auto& list = domain->cookies;
  auto same = std::find_if(list.begin(), list.end(), [&](const TCookie& c) { return c.name == cookie.name; });
  if (same != list.end()) {
    *same = std::move(cookie);
    return;
  }
  if (list.size() >= kMaxCookiesPerDomain) list.erase(list.begin());
  list.push_back(std::move(cookie));
}

void TCookieStore::RemoveExpired(std::int64_t now) {
  std::unique_lock lock(lock_);
  for (auto& domain : domains_) {
    std::erase_if(domain.cookies, [now](const TCookie& c) { return CookieExpired(c, now); });
  }
}

std::string TCookieStore::CookieValue(std::string_view host, std::string_view path) const {
  std::vector<TCookie> matching;
  {
    std::shared_lock lock(lock_);
    for (const auto& domain : domains_) {
      for (const auto& c : domain.cookies) {
        if (CookieDomainMatches(c.domain, host) && !c.path.empty() && StartsWith(path, c.path) &&
            !c.value.empty() && !c.secure) {
          matching.push_back(c);
        }
      }
    }
  }
  std::stable_sort(matching.begin(), matching.end(), PathDescending);
  std::string value;
  for (const auto& c : matching) {
    if (!value.empty()) value += "; ";
    value += c.name + "=" + c.value;
  }
  return value;
}

size_t TCookieStore::size() const {
  std::shared_lock lock(lock_);
  size_t n = 0;
  for (const auto& domain : domains_) n += domain.cookies.size();
  return n;
}

}  // namespace holvex
