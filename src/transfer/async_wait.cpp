#include "transfer/async_wait.h"

namespace holvex {

WaitOutcome WaitPumping(HANDLE event, const WaitPolicy& policy) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= policy.limitMs) return WaitOutcome::kTimedOut;
    DWORD r = MsgWaitForMultipleObjects(1, &event, FALSE, policy.limitMs - elapsed, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return WaitOutcome::kSignalled;
    if (r == WAIT_TIMEOUT) return WaitOutcome::kTimedOut;
    if (r != WAIT_OBJECT_0 + 1) return WaitOutcome::kStopped;  // the wait itself failed
    if (policy.pump) policy.pump();
    if (policy.stopRequested && policy.stopRequested()) return WaitOutcome::kStopped;
  }
}

}  // namespace holvex
