#pragma once
#include <string>
#include <vector>

#include "toolkit/window.h"

namespace holvex {

// The status bar at the bottom of a form, divided into panels of fixed widths.
class StatusBar : public Window {
 public:
  // As the last width: that panel runs to the end of the bar, so that its text can be read
  // however wide the bar is.
  static constexpr int kToTheEnd = -1;
  void Create(HWND parent);
  void SetPanelWidths(const std::vector<int>& widths);
  void SetPanelText(int panel, const std::string& text);
  std::string PanelText(int panel) const;
  int Height() const;
};

}  // namespace holvex
