#include "toolkit/page_control.h"

#include <commctrl.h>

namespace holvex {

void TabSheet::Create(HWND tabControl, const Rect& r) {
  CreateOwn("TTabSheet", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, r, tabControl);
  SendMessageA(hwnd(), WM_SETFONT, SendMessageA(tabControl, WM_GETFONT, 0, 0), FALSE);
}

void PageControl::Create(HWND parent, const Rect& r) {
  CreateSystem(WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               WS_EX_CONTROLPARENT, r, parent);
}

TabSheet& PageControl::AddPage(const std::string& caption) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(caption.c_str());
  SendMessageA(hwnd(), TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&item));
  auto page = std::make_unique<TabSheet>();
  page->Create(hwnd(), DisplayArea());
  pages_.push_back(std::move(page));
  ShowSelectedPage();
  return *pages_.back();
}

std::string PageControl::PageCaption(int index) const {
  char buf[256] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(hwnd(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
  return buf;
}

Rect PageControl::DisplayArea() const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  SendMessageA(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
  return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

void PageControl::ShowSelectedPage() {
  int selected = static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0));
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->SetVisible(static_cast<int>(i) == selected);
}

bool PageControl::HandleNotify(NMHDR* hdr, LRESULT* /*result*/) {
  if (hdr->code != TCN_SELCHANGE) return false;
  ShowSelectedPage();
  return true;
}

}  // namespace holvex
