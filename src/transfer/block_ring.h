#pragma once
// The blocks of a body on their way from a worker thread, which reads them from the network, to
// the GUI thread, which writes them: the worker reads on while the GUI thread writes, and a block
// that has arrived is never held back by the wait for the next.
#include <windows.h>

#include "toolkit/handles.h"

namespace holvex {

inline constexpr DWORD kNetworkBlockSize = 4096;

class BlockRing {
 public:
  static constexpr int kBlocks = 64;

  // Worker: a free block to read into, once there is one; nullptr once stopped.
  char* Reserve();
  // Worker: the reserved block holds size bytes.
  void Commit(DWORD size);
  // Worker: no more blocks; error 0 is the body's end.
  void End(DWORD error);

  // GUI thread: the oldest block, which stays valid until Release; false while none has come.
  bool Front(const char** data, DWORD* size);
  void Release();
  // GUI thread, when Front found none: true when it is to wait for Arrived(), which will be set.
  // With lookMicros it first looks again for that long.
  bool MustWait(unsigned lookMicros);
  // GUI thread: the end, once every block before it was released.
  bool Ended(DWORD* error) const;
  // Set when a block came after MustWait said to wait, and at the end.
  HANDLE Arrived() const { return arrived_.get(); }

  // Either side: the worker's Reserve gives up, now or when it next waits.
  void Stop();
  // Empties the ring for the next body.
  void Reset();

 private:
  bool ArrivesWithin(unsigned micros);
  // A slim lock: the two threads meet at every block; with std::mutex (winpthreads) 200 MB took
  // 2.35 s under Wine, with this one 2.08 s (scripts/bench-engine.sh).
  mutable SRWLOCK lock_ = SRWLOCK_INIT;
  struct Guard {
    explicit Guard(SRWLOCK& held) : lock(held) { AcquireSRWLockExclusive(&lock); }
    ~Guard() { ReleaseSRWLockExclusive(&lock); }
    SRWLOCK& lock;
  };
  char blocks_[kBlocks][kNetworkBlockSize] = {};
  DWORD sizes_[kBlocks] = {};
  int head_ = 0, count_ = 0;
  bool ended_ = false, stopped_ = false;
  // Who waits for the other: each event is set only then, since setting one is a round trip to
  // the wineserver under Wine.
  bool guiWaits_ = false, workerWaits_ = false;
  DWORD error_ = 0;
  UniqueKernelHandle arrived_{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  UniqueKernelHandle room_{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
};

}  // namespace holvex
