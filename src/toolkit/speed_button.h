#pragma once
// A button with a small picture beside its caption, drawn by us.
#include <functional>
#include <string>

#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace holvex {

class SpeedButton : public Window {
 public:
  void Create(HWND parent, const Rect& r, const std::string& caption, int glyphIconId);
  void Click();  // as the user would
  std::function<void()> OnClick;

  bool HandleCommand(WORD code) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  UniqueIcon glyph_;
};

}  // namespace holvex
