#pragma once
// The maker's homepage, opened in the user's browser by the help menu and the update check.
#include <windows.h>

namespace holvex {

void OpenHomepage(HWND owner);

}  // namespace holvex
