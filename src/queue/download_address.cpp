#include "queue/download_address.h"

#include "net/url_record.h"

namespace holvex {

std::string DownloadFileName(std::string_view url) { return TUrlRecord(url).document; }

bool IsValidDownloadUrl(std::string_view text) {
  return text.find("tp://") != std::string_view::npos && !DownloadFileName(text).empty();
}

}  // namespace holvex
