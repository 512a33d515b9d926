#include "toolkit/label_fonts.h"

namespace holvex {

UniqueFont ArialFont(int pixels, bool bold, bool italic) {
  return UniqueFont(CreateFontA(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, "Arial"));
}

void SetLabelFont(const Window& label, const UniqueFont& font) {
  SendMessageA(label.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
}

int TextWidth(HFONT font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

}  // namespace holvex
