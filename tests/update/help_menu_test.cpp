// The help menu of the real holvex.exe opens the update check and the about box, both showing
// the version of the executable's own version resource.
#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include "holvex_version.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

// The menu commands are numbered in the order the menu is built.
constexpr int kAboutCommand = 110;        // "Informationen"
constexpr int kUpdateCheckCommand = 113;  // "&Auf Update prüfen"

bool HasStaticText(HWND window, const std::string& text) {
  for (HWND c = FindWindowExA(window, nullptr, "Static", nullptr); c;
       c = FindWindowExA(window, c, "Static", nullptr)) {
    char buf[256] = {};
    GetWindowTextA(c, buf, sizeof buf);
    if (text == buf) return true;
  }
  return false;
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(50);
  }
  return true;
}

TEST(HelpMenu, OpensTheUpdateCheckAndTheAboutBoxWithTheExecutablesVersion) {
  test::TempDir dir;
  ASSERT_TRUE(CopyFileA((test::TestBinaryDirectory() + "\\holvex.exe").c_str(),
                        dir.File("holvex.exe").c_str(), FALSE));
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
  test::ProgramProcess program(dir.File("holvex.exe"));
  HWND main = program.WaitForWindow("TForm1", 15000, true);
  ASSERT_NE(main, nullptr);
  ASSERT_NE(program.WaitForWindow("TForm9", 15000), nullptr);  // every window exists

  for (int command : {kUpdateCheckCommand, kAboutCommand}) {
    PostMessageA(main, WM_COMMAND, command, 0);
    const char* cls = command == kAboutCommand ? "TForm6" : "TForm2";
    HWND window = program.WaitForWindow(cls, 10000, true);
    ASSERT_NE(window, nullptr) << cls;
    EXPECT_TRUE(HasStaticText(window, HOLVEX_VERSION_TEXT)) << cls;
    EXPECT_FALSE(IsWindowEnabled(main)) << cls << " is not modal";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window) && IsWindowEnabled(main); }, 5000)) << cls;
  }
}

}  // namespace
}  // namespace holvex
