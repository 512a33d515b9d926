#include "support/dialog_ui.h"

#include <commctrl.h>

#include <vector>

namespace holvex::test {

namespace {

struct Search {
  const char* className;
  int index;
  HWND found = nullptr;
};

BOOL CALLBACK NoteChild(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  if (lstrcmpiA(name, s->className) == 0 && s->index-- == 0) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

std::string WindowText(HWND w) {
  std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(w)) + 1);
  GetWindowTextA(w, text.data(), static_cast<int>(text.size()));
  return text.data();
}

}  // namespace

HWND DialogUi::Control(const char* className, int index) const {
  Search search{className, index};
  EnumChildWindows(dialog_, NoteChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string DialogUi::Text(const char* className, int index) const {
  return WindowText(Control(className, index));
}

void DialogUi::Type(int index, const std::string& text) const {
  SetWindowTextA(Control("Edit", index), text.c_str());
}

HWND DialogUi::Button(const std::string& caption, int nth) const {
  for (int i = 0;; ++i) {
    HWND b = Control("Button", i);
    if (!b || (WindowText(b) == caption && nth-- == 0)) return b;
  }
}

bool DialogUi::Checked(const std::string& caption) const {
  return SendMessageA(Button(caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogUi::SetChecked(const std::string& caption, bool checked) const {
  SendMessageA(Button(caption), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int DialogUi::ProgressPosition() const {
  return static_cast<int>(SendMessageA(Control(PROGRESS_CLASSA), PBM_GETPOS, 0, 0));
}

int DialogUi::RowCount() const {
  return static_cast<int>(SendMessageA(Control(WC_LISTVIEWA), LVM_GETITEMCOUNT, 0, 0));
}

std::string DialogUi::Cell(int row, int column) const {
  char text[1024] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(Control(WC_LISTVIEWA), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

}  // namespace holvex::test
