#include "transfer/block_ring.h"

#include <utility>

namespace holvex {

char* BlockRing::Reserve() {
  for (;;) {
    {
      Guard guard(lock_);
      if (stopped_) return nullptr;
      if (count_ < kBlocks) return blocks_[(head_ + count_) % kBlocks];
      workerWaits_ = true;
    }
    // Woken by a release or a stop; the look again is what counts.
    WaitForSingleObject(room_.get(), 1000);
  }
}

void BlockRing::Commit(DWORD size) {
  bool wake = false;
  {
    Guard guard(lock_);
    sizes_[(head_ + count_) % kBlocks] = size;
    ++count_;
    wake = std::exchange(guiWaits_, false);
  }
  if (wake) SetEvent(arrived_.get());
}

void BlockRing::End(DWORD error) {
  {
    Guard guard(lock_);
    ended_ = true;
    error_ = error;
  }
  SetEvent(arrived_.get());
}

bool BlockRing::Front(const char** data, DWORD* size) {
  Guard guard(lock_);
  if (count_ == 0) return false;
  *data = blocks_[head_];
  *size = sizes_[head_];
  return true;
}

void BlockRing::Release() {
  bool wake = false;
  {
    Guard guard(lock_);
    if (count_ == 0) return;
    head_ = (head_ + 1) % kBlocks;
    --count_;
    wake = std::exchange(workerWaits_, false);
  }
  if (wake) SetEvent(room_.get());
}

bool BlockRing::MustWait(unsigned lookMicros) {
  if (lookMicros > 0 && ArrivesWithin(lookMicros)) return false;
  Guard guard(lock_);
  if (count_ > 0 || ended_) return false;
  guiWaits_ = true;
  return true;
}

bool BlockRing::ArrivesWithin(unsigned micros) {
  LARGE_INTEGER now, frequency, until;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  until.QuadPart = now.QuadPart + frequency.QuadPart * micros / 1000000;
  do {
    SwitchToThread();  // Xvfb and the wineserver may want the core meanwhile
    {
      Guard guard(lock_);
      if (count_ > 0 || ended_) return true;
    }
    QueryPerformanceCounter(&now);
  } while (now.QuadPart < until.QuadPart);
  return false;
}

bool BlockRing::Ended(DWORD* error) const {
  Guard guard(lock_);
  if (!ended_ || count_ > 0) return false;
  *error = error_;
  return true;
}

void BlockRing::Stop() {
  {
    Guard guard(lock_);
    stopped_ = true;
  }
  SetEvent(room_.get());
}

void BlockRing::Reset() {
  Guard guard(lock_);
  head_ = count_ = 0;
  ended_ = stopped_ = guiWaits_ = workerWaits_ = false;
  error_ = 0;
  ResetEvent(arrived_.get());
}

}  // namespace holvex
