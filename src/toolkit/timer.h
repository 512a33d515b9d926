#pragma once
// A timer of a form: OnTimer runs every Interval milliseconds while it is enabled.
#include <functional>

#include "toolkit/form.h"

namespace holvex {

class Timer {
 public:
  void Create(Form& owner, UINT intervalMs);
  ~Timer();
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  UINT Interval() const { return interval_; }

  std::function<void()> OnTimer;

 private:
  Form* owner_ = nullptr;
  UINT_PTR id_ = 0;
  UINT interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace holvex
