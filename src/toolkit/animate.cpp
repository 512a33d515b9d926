#include "toolkit/animate.h"

#include <commctrl.h>

namespace holvex {

void Animate::Create(HWND parent, int left, int top) {
  CreateSystem(ANIMATE_CLASSA, "", WS_CHILD | WS_VISIBLE | ACS_TRANSPARENT, 0, Rect{left, top, 0, 0}, parent);
}

bool Animate::Open(int resourceId) {
  playing_ = false;
  bool opened = SendMessageA(hwnd(), ACM_OPENA, reinterpret_cast<WPARAM>(ModuleInstance()),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(resourceId))) != 0;
  clip_ = opened ? resourceId : 0;
  return opened;
}

bool Animate::Open(const char* resourceName) {
  playing_ = false;
  clip_ = 0;
  return SendMessageA(hwnd(), ACM_OPENA, reinterpret_cast<WPARAM>(ModuleInstance()),
                      reinterpret_cast<LPARAM>(resourceName)) != 0;
}

void Animate::Play() {
  playing_ = SendMessageA(hwnd(), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)) != 0;
}

void Animate::Stop() {
  SendMessageA(hwnd(), ACM_STOP, 0, 0);
  playing_ = false;
}

}  // namespace holvex
