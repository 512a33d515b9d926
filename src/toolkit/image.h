#pragma once
#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace holvex {

// A picture; the control keeps the bitmap it shows.
class Image : public Window {
 public:
  void Create(HWND parent, const Rect& r);
  void SetBitmap(UniqueBitmap bitmap);
  HBITMAP bitmap() const { return bitmap_.get(); }

 private:
  UniqueBitmap bitmap_;
};

}  // namespace holvex
