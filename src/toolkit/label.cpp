#include "toolkit/label.h"

namespace holvex {

void Label::Create(HWND parent, const Rect& r, const std::string& text) {
  CreateSystem("STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, r, parent);
}

}  // namespace holvex
