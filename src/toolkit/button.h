#pragma once
// A push button; OnClick runs when it is clicked.
#include <functional>
#include <string>

#include "toolkit/window.h"

namespace holvex {

class Button : public Window {
 public:
  static constexpr int kDefaultWidth = 75;
  static constexpr int kDefaultHeight = 25;

  void Create(HWND parent, const Rect& r, const std::string& caption);
  // Clicks it as a user would (BM_CLICK).
  void Click();

  std::function<void()> OnClick;

  bool HandleCommand(WORD code) override;
};

}  // namespace holvex
