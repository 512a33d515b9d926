#include "toolkit/list_box.h"

namespace holvex {

void ListBox::Create(HWND parent, const Rect& r, bool visible) {
  CreateSystem("LISTBOX", "", WS_CHILD | (visible ? WS_VISIBLE : 0) | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
               WS_EX_CLIENTEDGE, r, parent);
}

void ListBox::AddLines(const std::vector<std::string>& lines) {
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 1;
  SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(hwnd(), LB_INITSTORAGE, lines.size(), bytes);
  for (const std::string& line : lines) Add(line);
  SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
}

void ListBox::Add(const std::string& line) {
  SendMessageA(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void ListBox::Clear() { SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0); }

int ListBox::Count() const { return static_cast<int>(SendMessageA(hwnd(), LB_GETCOUNT, 0, 0)); }

std::string ListBox::Item(int index) const {
  LRESULT n = SendMessageA(hwnd(), LB_GETTEXTLEN, index, 0);
  if (n == LB_ERR) return {};
  std::string text(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
  return text;
}

}  // namespace holvex
