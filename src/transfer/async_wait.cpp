#include "transfer/async_wait.h"

#include <algorithm>

namespace holvex {

WaitOutcome WaitPumping(HANDLE event, const WaitPolicy& policy) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= policy.limitMs) return WaitOutcome::kTimedOut;
    if (policy.giveUp && policy.giveUp()) return WaitOutcome::kGivenUp;
    DWORD left = policy.limitMs - elapsed;
    DWORD slice = policy.giveUp ? std::min(left, kGuardIntervalMs) : left;
    DWORD r = MsgWaitForMultipleObjects(1, &event, FALSE, slice, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return WaitOutcome::kSignalled;
    if (r == WAIT_TIMEOUT) continue;                           // the bound or the next look at the guard
    if (r != WAIT_OBJECT_0 + 1) return WaitOutcome::kStopped;  // the wait itself failed
    if (policy.pump) policy.pump();
    if (policy.stopRequested && policy.stopRequested()) return WaitOutcome::kStopped;
  }
}

}  // namespace holvex
