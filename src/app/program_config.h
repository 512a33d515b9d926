#pragma once
// Addresses of the maker that the help menu opens.

namespace holvex {

inline constexpr const char* kHomepageUrl = "http://www.holvex.de/";
inline constexpr const char* kErrorReportUrl = "mailto:fehlerbericht@holvex.de?subject=Fehlerbericht Holvex 2004";

}  // namespace holvex
