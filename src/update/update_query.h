#pragma once
// The query to the maker's update service: one GET whose whole body is a one-word answer.
#include <string>
#include <string_view>

namespace holvex {

// "http://" + host + "/holvex/update.php?v=" + version; the version's digits and dots go as they are.
std::string UpdateQueryUrl(std::string_view host, std::string_view version);

enum class UpdateAnswer {
  kCurrent,  // "ok": no newer version
  kNewer,    // "new"
  kUnknown,  // anything else, a line end after a word included
};

// The body compared as a whole and with case.
UpdateAnswer ReadUpdateAnswer(std::string_view body);

}  // namespace holvex
