#include "toolkit/timer.h"

namespace holvex {

void Timer::Create(Form& owner, UINT intervalMs) {
  owner_ = &owner;
  interval_ = intervalMs;
  id_ = owner.AddTimer([this] {
    if (enabled_ && OnTimer) OnTimer();
  });
}

Timer::~Timer() { SetEnabled(false); }

void Timer::SetEnabled(bool enabled) {
  if (!owner_ || !owner_->hwnd()) return;
  if (enabled) SetTimer(owner_->hwnd(), id_, interval_, nullptr);
  else if (enabled_) KillTimer(owner_->hwnd(), id_);
  enabled_ = enabled;
}

}  // namespace holvex
