#include "toolkit/speed_button.h"

namespace holvex {

void SpeedButton::Create(HWND parent, const Rect& r, const std::string& caption, int glyphIconId) {
  CreateSystem("BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, r, parent);
  glyph_.reset(static_cast<HICON>(
      LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(glyphIconId), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
}

void SpeedButton::Click() {
  if (Enabled()) SendMessageA(hwnd(), BM_CLICK, 0, 0);
}

bool SpeedButton::HandleCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) OnClick();
  return true;
}

bool SpeedButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  bool pressed = item.itemState & ODS_SELECTED;
  bool disabled = item.itemState & ODS_DISABLED;
  DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  std::string caption = Text();
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)));
  SIZE textSize{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
  const int gap = glyph_ && !caption.empty() ? 4 : 0, glyphWidth = glyph_ ? 16 : 0;
  int left = rc.left + (rc.right - rc.left - glyphWidth - gap - textSize.cx) / 2 + (pressed ? 1 : 0);
  int mid = (rc.top + rc.bottom) / 2 + (pressed ? 1 : 0);
  if (glyph_) {
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.get()), 0, left, mid - 8, 16, 16,
               DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
  }
  RECT text{left + glyphWidth + gap, rc.top, rc.right, rc.bottom};
  if (pressed) OffsetRect(&text, 0, 1);
  SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    OffsetRect(&text, 1, 1);
    DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    OffsetRect(&text, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  SelectObject(dc, oldFont);
  return true;
}

}  // namespace holvex
