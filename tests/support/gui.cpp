#include "support/gui.h"

#include <atomic>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "toolkit/application.h"

namespace holvex::test {

Application& TestApplication() {
  static std::unique_ptr<Application> app = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&icc);
    auto a = std::make_unique<Application>();
    a->SetTitle("Holvex 2004");
    return a;
  }();
  return *app;
}

void PumpFor(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    TestApplication().ProcessMessages();
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return done();
    TestApplication().ProcessMessages();
    Sleep(5);
  }
  return true;
}

std::string UniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
}

std::string ChildText(HWND parent, const char* className, int index) {
  HWND child = nullptr;
  for (int i = 0; i <= index; ++i) {
    child = FindWindowExA(parent, child, className, nullptr);
    if (!child) return {};
  }
  char buf[1024] = {};
  GetWindowTextA(child, buf, sizeof buf);
  return buf;
}

void ExpectCentredOver(HWND owner, const RECT& box) {
  RECT main{};
  GetWindowRect(owner, &main);
  EXPECT_NEAR((box.left + box.right) / 2, (main.left + main.right) / 2, 2);
  EXPECT_NEAR((box.top + box.bottom) / 2, (main.top + main.bottom) / 2, 2);
}

}  // namespace holvex::test
