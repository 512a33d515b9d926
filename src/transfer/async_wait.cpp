#include "transfer/async_wait.h"

#include <algorithm>

namespace holvex {

WaitOutcome WaitPumping(HANDLE event, const WaitPolicy& policy) {
  // The bound counts only the time spent here, waiting: a menu, a dialog or a window being moved
  // holds the thread inside the pump for as long as the user likes, and that says nothing about
  // the server. The operation goes on meanwhile, so what it brought is taken first.
  DWORD waited = 0;
  for (;;) {
    if (policy.giveUp && policy.giveUp()) return WaitOutcome::kGivenUp;
    if (waited >= policy.limitMs) return WaitOutcome::kTimedOut;
    DWORD left = policy.limitMs - waited;
    DWORD slice = policy.giveUp ? std::min(left, kGuardIntervalMs) : left;
    const DWORD before = GetTickCount();
    DWORD r = MsgWaitForMultipleObjects(1, &event, FALSE, slice, QS_ALLINPUT);
    waited += GetTickCount() - before;
    if (r == WAIT_OBJECT_0) return WaitOutcome::kSignalled;
    if (r == WAIT_TIMEOUT) continue;                           // the bound or the next look at the guard
    if (r != WAIT_OBJECT_0 + 1) return WaitOutcome::kStopped;  // the wait itself failed
    if (policy.pump) policy.pump();
    if (policy.stopRequested && policy.stopRequested()) return WaitOutcome::kStopped;
    if (WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return WaitOutcome::kSignalled;
  }
}

}  // namespace holvex
