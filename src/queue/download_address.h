#pragma once
// The rule every way of adding a download applies to an address.
#include <string>
#include <string_view>

namespace holvex {

// True when the text holds "tp://" (so http:// and ftp://, written in lower case) and its
// file name, the document of its URL record, is not empty.
bool IsValidDownloadUrl(std::string_view text);

// The file name an address is listed and saved under.
std::string DownloadFileName(std::string_view url);

}  // namespace holvex
