#include "toolkit/label.h"

namespace holvex {

void Label::Create(HWND parent, const Rect& r, const std::string& text, DWORD extraStyle) {
  CreateSystem("STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | extraStyle, 0, r, parent);
}

}  // namespace holvex
