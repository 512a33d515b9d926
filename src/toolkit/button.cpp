#include "toolkit/button.h"

namespace holvex {

void Button::Create(HWND parent, const Rect& r, const std::string& caption) {
  CreateSystem("BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, r, parent);
}

void Button::Click() { SendMessageA(hwnd(), BM_CLICK, 0, 0); }

bool Button::HandleCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  // A copy: the handler may replace OnClick.
  if (auto handler = OnClick) handler();
  return true;
}

}  // namespace holvex
