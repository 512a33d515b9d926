#pragma once
// Waiting on the GUI thread for a WinInet call on a worker thread: window messages are
// dispatched meanwhile, and the wait gives up after a bound or when the caller says stop.
#include <windows.h>

#include <functional>

namespace holvex {

struct WaitPolicy {
  // Longest wait for one operation, counted outside the pump: time the pump spends in a nested
  // modal loop (a menu, a dialog, a moved window) does not count.
  DWORD limitMs = 30000;
  std::function<void()> pump;           // processes pending window messages
  std::function<bool()> stopRequested;  // asked before every wait, e.g. a cancel
  // Asked, like stopRequested, at least every kGuardIntervalMs while waiting, when set: true gives the
  // operation up as failed (a server that costs more than it may, although it keeps sending).
  std::function<bool()> giveUp = nullptr;
};

inline constexpr DWORD kGuardIntervalMs = 100;

enum class WaitOutcome { kSignalled, kTimedOut, kStopped, kGivenUp };

WaitOutcome WaitPumping(HANDLE event, const WaitPolicy& policy);

}  // namespace holvex
