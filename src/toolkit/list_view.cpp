#include "toolkit/list_view.h"

#include <algorithm>

#include <commctrl.h>

#include <cstring>

namespace holvex {

void ListView::Create(HWND parent, const Rect& r, bool editCaptions) {
  CreateSystem(WC_LISTVIEWA, "",
               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                   LVS_OWNERDATA | (editCaptions ? LVS_EDITLABELS : 0),
               WS_EX_CLIENTEDGE, r, parent);
  DWORD ex = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  SendMessageA(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
}

void ListView::AddColumn(const std::string& caption, int width) {
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = const_cast<char*>(caption.c_str());
  col.cx = width;
  col.iSubItem = ColumnCount();
  SendMessageA(hwnd(), LVM_INSERTCOLUMNA, col.iSubItem, reinterpret_cast<LPARAM>(&col));
}

int ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd(), LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListView::ColumnCaption(int column) const {
  char buf[256] = {};
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT;
  col.pszText = buf;
  col.cchTextMax = sizeof buf;
  SendMessageA(hwnd(), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
  return buf;
}

int ListView::ColumnWidth(int column) const {
  return static_cast<int>(SendMessageA(hwnd(), LVM_GETCOLUMNWIDTH, column, 0));
}

void ListView::SetRowCount(size_t count, bool keepScroll) {
  SendMessageA(hwnd(), LVM_SETITEMCOUNT, count, keepScroll ? (LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL) : 0);
  if (keepScroll && updateLocks_ == 0) RedrawRow(count > 0 ? count - 1 : 0);
}

int ListView::RowCount() const { return static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0)); }

void ListView::RedrawRow(size_t row) { SendMessageA(hwnd(), LVM_REDRAWITEMS, row, row); }

void ListView::RedrawAll() { InvalidateRect(hwnd(), nullptr, TRUE); }

std::string ListView::CellText(int row, int column) const {
  std::string buf(4096, '\0');
  for (;;) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(buf.size());
    LRESULT n = SendMessageA(hwnd(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    if (static_cast<size_t>(n) + 1 < buf.size()) {
      buf.resize(static_cast<size_t>(n));
      return buf;
    }
    buf.resize(buf.size() * 4);
  }
}

void ListView::BeginUpdate() {
  if (updateLocks_++ == 0) SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
}

void ListView::EndUpdate() {
  if (updateLocks_ > 0 && --updateLocks_ == 0) {
    SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawAll();
  }
}

ListView::UpdateLock::UpdateLock(ListView& list) : list_(list) { list_.BeginUpdate(); }

ListView::UpdateLock::~UpdateLock() { list_.EndUpdate(); }

std::optional<size_t> ListView::SelectedRow() const {
  LRESULT i = SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (i < 0) return std::nullopt;
  return static_cast<size_t>(i);
}

void ListView::SelectRow(std::optional<size_t> row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  if (!row) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(hwnd(), LVM_SETITEMSTATE, *row, reinterpret_cast<LPARAM>(&item));
  SendMessageA(hwnd(), LVM_ENSUREVISIBLE, *row, FALSE);
}

bool ListView::HandleNotify(NMHDR* hdr, LRESULT* result) {
  switch (hdr->code) {
    case LVN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(hdr);
      if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        scratch_ = cellText ? cellText(static_cast<size_t>(info->item.iItem), info->item.iSubItem) : "";
        size_t n = std::min(scratch_.size(), static_cast<size_t>(info->item.cchTextMax - 1));
        std::memcpy(info->item.pszText, scratch_.data(), n);
        info->item.pszText[n] = '\0';
      }
      return true;
    }
    case NM_DBLCLK:
      if (OnDblClick) OnDblClick();
      return true;
    case LVN_BEGINLABELEDITA: {
      const auto* info = reinterpret_cast<NMLVDISPINFOA*>(hdr);
      const bool allowed =
          OnEditing && info->item.iItem >= 0 && OnEditing(static_cast<size_t>(info->item.iItem));
      *result = allowed ? FALSE : TRUE;  // TRUE keeps the edit from starting
      return true;
    }
    case LVN_ENDLABELEDITA: {
      const auto* info = reinterpret_cast<NMLVDISPINFOA*>(hdr);
      if (info->item.pszText && info->item.iItem >= 0 && OnEdited)
        OnEdited(static_cast<size_t>(info->item.iItem), info->item.pszText);
      *result = FALSE;  // an owner-data list stores no text: the row is painted from the model
      RedrawRow(static_cast<size_t>(std::max(info->item.iItem, 0)));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace holvex
