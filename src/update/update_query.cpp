#include "update/update_query.h"

namespace holvex {

std::string UpdateQueryUrl(std::string_view host, std::string_view version) {
  std::string url = "http://";
  url += host;
  url += "/holvex/update.php?v=";
  url += version;
  return url;
}

UpdateAnswer ReadUpdateAnswer(std::string_view body) {
  if (body == "ok") return UpdateAnswer::kCurrent;
  if (body == "new") return UpdateAnswer::kNewer;
  return UpdateAnswer::kUnknown;
}

}  // namespace holvex
