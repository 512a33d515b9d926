#pragma once
// Typing as a user types, from a second thread: while a menu is open, its modal loop keeps
// the window's thread busy, so the keys cannot come from that thread.
#include <functional>
#include <string>

namespace holvex::test {

// Alt with the first key, then the other keys, `gapMs` apart. '>' and 'v' stand for the
// right and down arrow keys.
void TypeKeys(const std::string& keys, int gapMs = 150);
// Esc three times: closes open menus and submenus.
void CloseMenus();

// Types `keys` on a second thread while this one pumps messages until `done` holds or
// `timeoutMs` passed. A menu still open then is closed with Esc, as a user would.
bool TypeWhilePumping(const std::string& keys, const std::function<bool()>& done, int timeoutMs = 3000);

}  // namespace holvex::test
