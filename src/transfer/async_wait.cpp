#include "transfer/async_wait.h"

#include <algorithm>

namespace holvex {

WaitOutcome WaitPumping(HANDLE event, const WaitPolicy& policy) {
  // The bound counts only the time spent here, waiting: a menu, a dialog or a window being moved
  // holds the thread inside the pump for as long as the user likes, and that says nothing about
  // the server. The operation goes on meanwhile, so what it brought is taken first.
  DWORD waited = 0;
  for (;;) {
    // Before every wait and after every slice: a cancel taken anywhere (a timer, another window's
    // handler, the dispatch below) ends the wait at once.
    if (policy.stopRequested && policy.stopRequested()) return WaitOutcome::kStopped;
    if (policy.giveUp && policy.giveUp()) return WaitOutcome::kGivenUp;
    if (waited >= policy.limitMs) return WaitOutcome::kTimedOut;
    DWORD left = policy.limitMs - waited;
    DWORD slice = std::min(left, kGuardIntervalMs);
    const DWORD before = GetTickCount();
    DWORD r = MsgWaitForMultipleObjects(1, &event, FALSE, slice, QS_ALLINPUT);
    waited += GetTickCount() - before;
    if (r == WAIT_OBJECT_0) return WaitOutcome::kSignalled;
    if (r == WAIT_TIMEOUT) continue;                           // the next look at the flags
    if (r != WAIT_OBJECT_0 + 1) return WaitOutcome::kStopped;  // the wait itself failed
    if (policy.pump) policy.pump();
    if (WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return WaitOutcome::kSignalled;
  }
}

}  // namespace holvex
