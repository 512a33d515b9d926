#pragma once
// The maker's addresses: the homepage and error-report mailbox the help menu opens, the host of
// the update service, and the contact shown in the about box. Set here and nowhere else.

namespace holvex {

inline constexpr const char* kHomepageUrl = "http://www.holvex.de/";
inline constexpr const char* kErrorReportUrl =
    "mailto:fehlerbericht@holvex.de?subject=Fehlerbericht Holvex 2004";
inline constexpr const char* kUpdateHost = "update.holvex.de";
inline constexpr const char* kContactAddress = "info@holvex.de";

}  // namespace holvex
