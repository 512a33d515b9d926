#include "toolkit/check_box.h"

namespace holvex {

void CheckBox::Create(HWND parent, const Rect& r, const std::string& caption) {
  CreateSystem("BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, r, parent);
}

bool CheckBox::Checked() const { return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Click() { SendMessageA(hwnd(), BM_CLICK, 0, 0); }

bool CheckBox::HandleCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (auto handler = OnClick) handler();
  return true;
}

}  // namespace holvex
