#pragma once
// A static text; its text is shown verbatim ("&" is no access key).
#include "toolkit/window.h"

namespace holvex {

class Label : public Window {
 public:
  // extraStyle: SS_CENTER, SS_NOTIFY (the label then takes its clicks instead of its form).
  void Create(HWND parent, const Rect& r, const std::string& text, DWORD extraStyle = 0);
};

}  // namespace holvex
