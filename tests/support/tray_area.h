#pragma once
// The notification area as Wine shows it without a tray manager: the desktop process's
// "Wine System Tray" window with one child per icon. A mouse message posted to a child
// reaches the icon's owner as its callback message. Popup menus of this process, as a user
// sees and answers them.
#include <windows.h>

#include <future>
#include <string>
#include <vector>

namespace holvex::test {

// The icon windows now shown.
std::vector<HWND> TrayIconWindows();
// Waits until exactly `count` icons are shown; the icons then.
std::vector<HWND> WaitForTrayIcons(size_t count, int timeoutMs = 5000);
// The icon's tip, read from its tooltip in the desktop process.
std::string TrayIconTip(HWND icon);

// What an open popup menu showed: its handle and each item's caption and state.
struct SeenMenuItem {
  std::string caption;  // empty for a separator
  bool enabled = false;
  bool checked = false;
};
struct SeenMenu {
  bool found = false;
  HMENU menu = nullptr;
  std::vector<SeenMenuItem> items;
};
// On a second thread: waits for a popup menu of this process to open, notes its items, then
// types `mnemonic` into it, which chooses that item ('\0': Esc, which closes the menu).
std::future<SeenMenu> AnswerPopupMenu(char mnemonic, int timeoutMs = 5000);
// A right click on the icon, as the user gives it: this thread's messages are taken while its
// menu is open (the menu is tracked here) and until the chosen command has run; AnswerPopupMenu
// answers the menu.
SeenMenu AnswerIconMenu(HWND icon, char mnemonic, int timeoutMs = 5000);

}  // namespace holvex::test
