#pragma once
// An icon from the program's resources, shown at the control's size.
#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace holvex {

class IconImage : public Window {
 public:
  void Create(HWND parent, const Rect& r, int iconId);

 private:
  UniqueIcon icon_;
};

}  // namespace holvex
