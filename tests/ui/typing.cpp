#include "typing.h"

#include <windows.h>

#include <atomic>
#include <thread>

#include "support/gui.h"

namespace holvex::test {

namespace {

void Press(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

WORD VirtualKey(char c) {
  if (c == '>') return VK_RIGHT;
  if (c == 'v') return VK_DOWN;
  return static_cast<WORD>(VkKeyScanA(c) & 0xFF);
}

}  // namespace

void TypeKeys(const std::string& keys, int gapMs) {
  for (size_t i = 0; i < keys.size(); ++i) {
    const WORD key = VirtualKey(keys[i]);
    if (i == 0) Press(VK_MENU, true);
    Press(key, true);
    Press(key, false);
    if (i == 0) Press(VK_MENU, false);
    Sleep(static_cast<DWORD>(gapMs));
  }
}

void CloseMenus() {
  for (int i = 0; i < 3; ++i) {
    Press(VK_ESCAPE, true);
    Press(VK_ESCAPE, false);
    Sleep(100);
  }
}

bool TypeWhilePumping(const std::string& keys, const std::function<bool()>& done, int timeoutMs) {
  std::atomic<bool> finished{false};
  std::thread typer([&] {
    TypeKeys(keys);
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    while (!finished && static_cast<int>(end - GetTickCount()) > 0) Sleep(20);
    if (!finished) CloseMenus();  // or the pumping thread would stay in the menu's loop
  });
  bool ok = PumpUntil(done, timeoutMs + 1000);
  finished = true;
  typer.join();
  return ok;
}

}  // namespace holvex::test
