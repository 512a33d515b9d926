#include "support/main_window_ui.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "support/process.h"

namespace holvex::test {

namespace {

// The submenu and id of the item with this caption, searched depth first.
std::optional<std::pair<HMENU, UINT>> FindItem(HMENU menu, const std::string& caption) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    if (HMENU sub = GetSubMenu(menu, i)) {
      if (auto found = FindItem(sub, caption)) return found;
    } else if (caption == text) {
      return std::make_pair(menu, GetMenuItemID(menu, i));
    }
  }
  return std::nullopt;
}

UINT ItemState(HWND main, const std::string& caption) {
  auto item = FindItem(GetMenu(main), caption);
  return item ? GetMenuState(item->first, item->second, MF_BYCOMMAND) : static_cast<UINT>(-1);
}

// The first window of the class among the descendants, depth first; with `style`, only one
// that has those style bits.
HWND Child(HWND parent, const char* className, LONG style = 0) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(c, name, sizeof name);
    if (lstrcmpiA(name, className) == 0 && (GetWindowLongA(c, GWL_STYLE) & style) == style) return c;
    if (HWND inner = Child(c, className, style)) return inner;
  }
  return nullptr;
}

}  // namespace

HWND MainWindowUi::Button(const std::string& caption) const {
  return FindDescendant(main_, "Button", &caption);
}

void MainWindowUi::Click(const std::string& caption) const { SendMessageA(Button(caption), BM_CLICK, 0, 0); }
void MainWindowUi::PostClick(const std::string& caption) const {
  PostMessageA(Button(caption), BM_CLICK, 0, 0);
}

bool MainWindowUi::MenuEnabled(const std::string& caption) const {
  const UINT state = ItemState(main_, caption);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool MainWindowUi::MenuChecked(const std::string& caption) const {
  const UINT state = ItemState(main_, caption);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void MainWindowUi::ChooseMenu(const std::string& caption) const {
  auto item = FindItem(GetMenu(main_), caption);
  if (item && MenuEnabled(caption)) PostMessageA(main_, WM_COMMAND, MAKEWPARAM(item->second, 0), 0);
}

bool MainWindowUi::SystemCloseEnabled() const {
  const UINT state = GetMenuState(GetSystemMenu(main_, FALSE), SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

size_t MainWindowUi::RowCount() const {
  return static_cast<size_t>(SendMessageA(Child(main_, WC_LISTVIEWA), LVM_GETITEMCOUNT, 0, 0));
}

std::string MainWindowUi::Cell(size_t row, int column) const {
  char text[1024] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(Child(main_, WC_LISTVIEWA), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<std::string> MainWindowUi::Column(int column) const {
  std::vector<std::string> cells;
  for (size_t row = 0, n = RowCount(); row < n; ++row) cells.push_back(Cell(row, column));
  return cells;
}

void MainWindowUi::SelectRow(size_t row) const {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Child(main_, WC_LISTVIEWA), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::optional<size_t> MainWindowUi::SelectedRow() const {
  const LRESULT row = SendMessageA(Child(main_, WC_LISTVIEWA), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                   MAKELPARAM(LVNI_SELECTED, 0));
  if (row < 0) return std::nullopt;
  return static_cast<size_t>(row);
}

std::string MainWindowUi::Panel(int index) const {
  HWND bar = Child(main_, STATUSCLASSNAMEA);
  const LRESULT length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, index, 0));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(bar, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::vector<std::string> MainWindowUi::Log() const {
  std::vector<std::string> lines = StampedLog();
  for (std::string& line : lines)
    if (line.size() > 10 && line[8] == ':') line = line.substr(10);
  return lines;
}

std::vector<std::string> MainWindowUi::StampedLog() const {
  HWND memo = Child(main_, "Edit", ES_MULTILINE);
  const int length = GetWindowTextLengthA(memo);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(memo, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> MainWindowUi::ScratchLines() const {
  HWND list = Child(main_, "ListBox");
  std::vector<std::string> lines;
  for (LRESULT i = 0, n = SendMessageA(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
    std::string line(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    line.resize(line.size() - 1);
    lines.push_back(line);
  }
  return lines;
}

std::string MainWindowUi::TabCaption(int index) const {
  char text[256] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(Child(main_, WC_TABCONTROLA), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

HWND MainWindowUi::Control(const char* className, LONG style) const { return Child(main_, className, style); }

}  // namespace holvex::test
