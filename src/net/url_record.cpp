#include "net/url_record.h"

#include <algorithm>

namespace holvex {

namespace {

constexpr size_t npos = std::string_view::npos;

// Splits text at the first sep into before and after; without sep everything is before.
void SplitAt(std::string_view text, char sep, std::string& before, std::string& after) {
  size_t at = text.find(sep);
  before = std::string(text.substr(0, at));
  after = at == npos ? std::string() : std::string(text.substr(at + 1));
}

void SplitAuthority(std::string_view authority, TUrlRecord& url) {
  size_t at = authority.find('@');
  if (at != npos) {
    SplitAt(authority.substr(0, at), ':', url.userName, url.password);
    if (url.userName.empty()) url.password.clear();
    authority.remove_prefix(at + 1);
  }
  SplitAt(authority, ':', url.host, url.port);
}

// Path, document and parameters of the text after the authority (or of a text without "://").
void SplitRemainder(std::string_view rest, bool absolute, TUrlRecord& url) {
  size_t query = rest.find('?');
  if (query == npos) query = rest.find('=');
  size_t slash = query == npos ? rest.rfind('/') : rest.substr(0, query).rfind('/');
  size_t docStart = slash == npos ? 0 : slash + 1;
  url.path.clear();
  if (absolute) url.path.push_back('/');
  url.path += rest.substr(0, docStart);
  if (query != npos) {
    url.document = std::string(rest.substr(docStart, query - docStart));
    url.params = std::string(rest.substr(query));
  } else {
    url.document = std::string(rest.substr(docStart));
  }
}

// Moves what follows the first '#' of part into the fragment.
void CutFragment(std::string& part, std::string& fragment) {
  size_t hash = part.find('#');
  if (hash == npos) return;
  fragment = part.substr(hash + 1);
  part.resize(hash);
}

}  // namespace

TUrlRecord::TUrlRecord(std::string_view url) {
  std::string text(url);
  std::replace(text.begin(), text.end(), '\\', '/');  // Windows-1252 has no double-byte characters
  std::string_view rest = text;
  size_t scheme = rest.find("://");
  bool absolute = scheme != npos;
  if (absolute) {
    protocol = std::string(rest.substr(0, scheme));
    rest.remove_prefix(scheme + 3);
    size_t slash = rest.find('/');
    SplitAuthority(rest.substr(0, slash), *this);
    rest = slash == npos ? std::string_view() : rest.substr(slash + 1);
  }
  SplitRemainder(rest, absolute, *this);
  if (absolute) CutFragment(document, fragment);
  if (fragment.empty()) CutFragment(params, fragment);
}

}  // namespace holvex
