#pragma once
// Owning wrapper of a WinInet handle: move-only, closed exactly once.
#include <windows.h>
#include <wininet.h>

#include "toolkit/handles.h"

namespace holvex {

struct InternetHandleTraits {
  static void Free(HINTERNET h) { InternetCloseHandle(h); }
};
using UniqueInternet = UniqueHandle<HINTERNET, InternetHandleTraits>;

}  // namespace holvex
