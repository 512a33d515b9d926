#pragma once
#include "toolkit/window.h"

namespace holvex {

// The common progress bar with a range and a step.
class ProgressBar : public Window {
 public:
  void Create(HWND parent, const Rect& r, bool smooth = true);
  void SetRange(int min, int max);
  void SetStep(int step);
  void StepIt();
  void SetPosition(int position);
  int Position() const;
};

}  // namespace holvex
