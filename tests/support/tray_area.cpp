#include "support/tray_area.h"

#include <chrono>

#include <commctrl.h>

#include "support/gui.h"
#include "toolkit/handles.h"

namespace holvex::test {

namespace {

const char* const kMenuClass = MAKEINTATOM(0x8000);
constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

HWND OpenMenuWindow() {
  for (HWND w = FindWindowExA(nullptr, nullptr, kMenuClass, nullptr); w;
       w = FindWindowExA(nullptr, w, kMenuClass, nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

std::vector<SeenMenuItem> ItemsOf(HMENU menu) {
  std::vector<SeenMenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char caption[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    items.push_back({caption, !(state & (MF_GRAYED | MF_DISABLED)), (state & MF_CHECKED) != 0});
  }
  return items;
}

}  // namespace

std::vector<HWND> TrayIconWindows() {
  std::vector<HWND> icons;
  for (HWND tray = FindWindowExA(nullptr, nullptr, "__winex11_standalone_tray", nullptr); tray;
       tray = FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr))
    for (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon;
         icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr))
      if (IsWindowVisible(icon)) icons.push_back(icon);
  return icons;
}

std::vector<HWND> WaitForTrayIcons(size_t count, int timeoutMs) {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    std::vector<HWND> icons = TrayIconWindows();
    if (icons.size() == count || static_cast<int>(end - GetTickCount()) <= 0) return icons;
    Sleep(20);
  }
}

std::string TrayIconTip(HWND icon) {
  // The tooltip belongs to the desktop process: the record and the text buffer must be there.
  DWORD pid = 0;
  GetWindowThreadProcessId(icon, &pid);
  UniqueKernelHandle desktop(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!desktop) return {};
  constexpr SIZE_T kText = 1024;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(desktop.get(), nullptr, sizeof(TOOLINFOA) + kText, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return {};
  std::string tip;
  for (HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tooltip && tip.empty();
       tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tooltip, &owner);
    if (owner != pid) continue;
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = icon;
    info.uId = reinterpret_cast<UINT_PTR>(icon);
    info.lpszText = remote + sizeof(TOOLINFOA);
    std::string text(kText, '\0');
    WriteProcessMemory(desktop.get(), remote, &info, sizeof info, nullptr);
    WriteProcessMemory(desktop.get(), info.lpszText, text.data(), kText, nullptr);
    SendMessageA(tooltip, TTM_GETTEXTA, kText, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(desktop.get(), info.lpszText, text.data(), kText - 1, nullptr);
    tip = text.substr(0, text.find('\0'));
  }
  VirtualFreeEx(desktop.get(), remote, 0, MEM_RELEASE);
  return tip;
}

std::future<SeenMenu> AnswerPopupMenu(char mnemonic, int timeoutMs) {
  return std::async(std::launch::async, [mnemonic, timeoutMs] {
    SeenMenu seen;
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    HWND window = nullptr;
    while (!(window = OpenMenuWindow())) {
      if (static_cast<int>(end - GetTickCount()) <= 0) return seen;
      Sleep(20);
    }
    seen.found = true;
    DWORD_PTR menu = 0;
    SendMessageTimeoutA(window, kGetMenuHandle, 0, 0, SMTO_NORMAL, 2000, &menu);
    seen.menu = reinterpret_cast<HMENU>(menu);
    seen.items = ItemsOf(seen.menu);
    if (mnemonic)
      PostMessageA(window, WM_CHAR, static_cast<WPARAM>(mnemonic), 0);
    else
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    return seen;
  });
}

SeenMenu AnswerIconMenu(HWND icon, char mnemonic, int timeoutMs) {
  std::future<SeenMenu> menu = AnswerPopupMenu(mnemonic, timeoutMs);
  PostMessageA(icon, WM_RBUTTONUP, 0, 0);
  PumpUntil([&] { return menu.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            timeoutMs + 1000);
  // The closed menu posts the chosen command.
  PumpFor(100);
  return menu.get();
}

}  // namespace holvex::test
