#include "toolkit/edit.h"

namespace holvex {

void Edit::Create(HWND parent, const Rect& r, const std::string& text, bool password) {
  CreateSystem("EDIT", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (password ? ES_PASSWORD : 0),
               WS_EX_CLIENTEDGE, r, parent);
}

void Edit::SelectAll() { SendMessageA(hwnd(), EM_SETSEL, 0, -1); }

void Edit::SetPasswordChar(char c) {
  SendMessageA(hwnd(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

}  // namespace holvex
