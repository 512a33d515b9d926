#pragma once
// The program's icon in the notification area. A hidden window of its own receives the icon's
// mouse messages: a right click opens the popup menu, a double click runs the menu's default
// item and raises OnDblClick. The icon is added at creation and removed at destruction.
#include <windows.h>

#include <functional>

#include <shellapi.h>

#include <string>

#include "toolkit/handles.h"
#include "toolkit/menu.h"
#include "toolkit/window.h"

namespace holvex {

// The icon's callback message and its id with the shell.
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;
inline constexpr UINT TrayIconId = 57051;

class TTrayIcon {
 public:
  // Adds the icon. Its tip is the application title (Hint is still empty at this moment).
  TTrayIcon();
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Stored only: the icon keeps the tip it was added with.
  std::string Hint;
  Menu* PopupMenu = nullptr;
  const std::string Version = "1.00";
  std::function<void(TTrayIcon& sender)> OnDblClick;

  // The hidden window the shell sends the icon's messages to.
  HWND Handle() const { return window_.hwnd(); }

 private:
  // A top-level window, hidden: unlike a message-only window it receives the shell's
  // broadcast "TaskbarCreated" after a restart of the desktop shell.
  class CallbackWindow : public Window {
   public:
    explicit CallbackWindow(TTrayIcon& icon);

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    TTrayIcon& icon_;
    UINT taskbarCreated_;
  };

  void Notify(UINT mouseMessage);
  void Add();

  CallbackWindow window_;
  UniqueIcon icon_;
  NOTIFYICONDATAA data_{};
};

}  // namespace holvex
