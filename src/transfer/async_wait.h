#pragma once
// Waiting on the GUI thread for an asynchronous WinInet operation: window messages are
// dispatched meanwhile, and the wait gives up after a bound or when the caller says stop.
#include <windows.h>

#include <functional>

namespace holvex {

struct WaitPolicy {
  DWORD limitMs = 30000;                // longest wait for one operation
  std::function<void()> pump;           // processes pending window messages
  std::function<bool()> stopRequested;  // asked after every pump, e.g. a cancel
};

enum class WaitOutcome { kSignalled, kTimedOut, kStopped };

WaitOutcome WaitPumping(HANDLE event, const WaitPolicy& policy);

}  // namespace holvex
