#pragma once
// A static text; its text is shown verbatim ("&" is no access key).
#include "toolkit/window.h"

namespace holvex {

class Label : public Window {
 public:
  void Create(HWND parent, const Rect& r, const std::string& text);
};

}  // namespace holvex
