#include "toolkit/image.h"

namespace holvex {

void Image::Create(HWND parent, const Rect& r) {
  CreateSystem("STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, r, parent);
}

void Image::SetBitmap(UniqueBitmap bitmap) {
  bitmap_ = std::move(bitmap);
  SendMessageA(hwnd(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.get()));
}

}  // namespace holvex
