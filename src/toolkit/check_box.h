#pragma once
// A check box with its caption to the right; the user ticks it with a click.
#include <functional>
#include <string>

#include "toolkit/window.h"

namespace holvex {

class CheckBox : public Window {
 public:
  void Create(HWND parent, const Rect& r, const std::string& caption);
  bool Checked() const;
  void SetChecked(bool checked);
  // Clicks it as the user would (BM_CLICK): the tick changes and OnClick runs.
  void Click();

  std::function<void()> OnClick;

  bool HandleCommand(WORD code) override;
};

}  // namespace holvex
