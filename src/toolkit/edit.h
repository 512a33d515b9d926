#pragma once
#include "toolkit/window.h"

namespace holvex {

// A single-line text field.
class Edit : public Window {
 public:
  void Create(HWND parent, const Rect& r, const std::string& text = "", bool password = false);
  void SelectAll();
  // The character a password field shows for each typed one.
  void SetPasswordChar(char c);
};

}  // namespace holvex
