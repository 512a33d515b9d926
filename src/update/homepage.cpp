#include "update/homepage.h"

#include <shellapi.h>

#include "update/maker_addresses.h"

namespace holvex {

void OpenHomepage(HWND owner) { ShellExecuteA(owner, "open", kHomepageUrl, " ", nullptr, SW_SHOWNORMAL); }

}  // namespace holvex
