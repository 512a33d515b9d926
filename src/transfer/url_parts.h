#pragma once
// Host and path of an address as the progress dialog names them. A user-information part
// ("user:pass@") is dropped from both, so credentials never reach a dialog line.
#include <string>
#include <string_view>

namespace holvex {

// "http://u:p@host:8080/a/b" gives "host:8080" (the port stays).
std::string UrlHost(std::string_view url);
// The same address gives "/a/b"; an address without a path gives its host.
std::string UrlPath(std::string_view url);

}  // namespace holvex
