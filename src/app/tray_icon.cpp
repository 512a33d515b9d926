#include "app/tray_icon.h"

#include <algorithm>
#include <cstring>

#include "resource_ids.h"
#include "toolkit/application.h"

namespace holvex {

namespace {

// The short record of the first shell versions: size, window, id, flags, callback message,
// icon and a 64-character tip. Every shell accepts it.
constexpr DWORD kShortRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr size_t kShortTipField = 64;
static_assert(sizeof(void*) != 4 || kShortRecordSize == 88);  // the 32-bit record

UniqueIcon LoadApplicationIcon() {
  HICON icon =
      static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  return UniqueIcon(icon);
}

}  // namespace

TTrayIcon::CallbackWindow::CallbackWindow(TTrayIcon& icon)
    : icon_(icon), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
  CreateOwn("TTrayIconWindow", "", WS_POPUP, WS_EX_TOOLWINDOW, Rect{}, nullptr);
}

LRESULT TTrayIcon::CallbackWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TRAYNOTIFY) {
    icon_.Notify(static_cast<UINT>(lp));
    return 0;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // A restarted shell knows no icons: without this one a program hidden in the tray could
    // never be brought back.
    icon_.Add();
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

TTrayIcon::TTrayIcon() : window_(*this), icon_(LoadApplicationIcon()) {
  data_.cbSize = kShortRecordSize;
  data_.hWnd = window_.hwnd();
  data_.uID = TrayIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = WM_TRAYNOTIFY;
  data_.hIcon = icon_ ? icon_.get() : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  Application* app = Application::Current();
  const std::string tip = !Hint.empty() ? Hint : app ? app->Title() : std::string();
  // A longer text is cut to the short record's field, which keeps its terminator (the
  // headers' record has a longer field, which this record size does not have).
  const size_t length = std::min(tip.size(), kShortTipField - 1);
  std::memcpy(data_.szTip, tip.data(), length);
  data_.szTip[length] = '\0';
  Add();
}

TTrayIcon::~TTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &data_); }

void TTrayIcon::Add() { Shell_NotifyIconA(NIM_ADD, &data_); }

void TTrayIcon::Notify(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      if (PopupMenu) PopupMenu->ClickDefaultItem();
      if (OnDblClick) OnDblClick(*this);
      break;
    case WM_RBUTTONUP: {
      SetForegroundWindow(window_.hwnd());
      POINT at{};
      GetCursorPos(&at);
      if (PopupMenu) PopupMenu->Popup(at.x, at.y, window_.hwnd());
      break;
    }
    default:
      break;
  }
}

}  // namespace holvex
