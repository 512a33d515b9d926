#include "toolkit/icon_image.h"

namespace holvex {

void IconImage::Create(HWND parent, const Rect& r, int iconId) {
  CreateSystem("STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, 0, r, parent);
  icon_.reset(static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, r.width,
                                            r.height, LR_DEFAULTCOLOR)));
  SendMessageA(hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
}

}  // namespace holvex
