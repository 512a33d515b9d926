#include "toolkit/status_bar.h"

#include <commctrl.h>

namespace holvex {

void StatusBar::Create(HWND parent) {
  // Placed by us, 19 pixels high along the bottom, whatever the font would make of it.
  constexpr int kHeight = 19;
  RECT rc;
  GetClientRect(parent, &rc);
  CreateSystem(STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
               Rect{0, rc.bottom - kHeight, rc.right, kHeight}, parent);
}

void StatusBar::SetPanelWidths(const std::vector<int>& widths) {
  std::vector<int> edges;
  int right = 0;
  for (int w : widths) edges.push_back(w == kToTheEnd ? -1 : right += w);
  SendMessageA(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetPanelText(int panel, const std::string& text) {
  SendMessageA(hwnd(), SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::PanelText(int panel) const {
  LRESULT len = LOWORD(SendMessageA(hwnd(), SB_GETTEXTLENGTHA, panel, 0));
  std::string text(static_cast<size_t>(len) + 1, '\0');
  SendMessageA(hwnd(), SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(len));
  return text;
}

int StatusBar::Height() const { return Bounds().height; }

}  // namespace holvex
