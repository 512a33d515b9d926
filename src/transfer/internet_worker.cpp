#include "transfer/internet_worker.h"

#include <algorithm>
#include <thread>

#include "transfer/wine_workarounds.h"

namespace holvex {

HINTERNET InternetCall::Get(Slot slot) const {
  std::lock_guard<std::mutex> guard(lock_);
  return handles_[slot].get();
}

bool InternetCall::Keep(Slot slot, HINTERNET handle) {
  UniqueInternet made(handle);
  std::lock_guard<std::mutex> guard(lock_);
  if (givenUp_ || !made) return false;  // a handle made too late goes again at once
  handles_[slot] = std::move(made);
  return true;
}

bool InternetCall::Close(Slot slot) {
  UniqueInternet handle;
  {
    std::lock_guard<std::mutex> guard(lock_);
    handle = std::move(handles_[slot]);
  }
  return !handle || InternetCloseHandle(handle.release()) != FALSE;
}

void InternetCall::TakeAll(UniqueInternet (&handles)[kSlots]) {
  std::lock_guard<std::mutex> guard(lock_);
  givenUp_ = true;
  for (int slot = 0; slot < kSlots; ++slot) handles[slot] = std::move(handles_[slot]);
}

void InternetCall::SetConnectedTo(std::string address) {
  std::lock_guard<std::mutex> guard(lock_);
  connectedTo_ = std::move(address);
}

std::string InternetCall::ConnectedTo() const {
  std::lock_guard<std::mutex> guard(lock_);
  return connectedTo_;
}

void InternetCall::SetConnectionClosed(bool closed) {
  std::lock_guard<std::mutex> guard(lock_);
  connectionClosed_ = closed;
}

bool InternetCall::ConnectionClosed() const {
  std::lock_guard<std::mutex> guard(lock_);
  return connectionClosed_;
}

namespace {

// Children first: closing the request (an FTP file) waits for the server's word on it.
void CloseInOrder(UniqueInternet (&handles)[InternetCall::kSlots]) {
  for (int slot = InternetCall::kRequest; slot >= InternetCall::kRoot; --slot) handles[slot].reset();
}

}  // namespace

// Shared by the connection and its worker thread, and kept alive by both: a call that was given up
// may still write into it.
struct InternetWorker::Shared {
  std::mutex lock;
  Job job;  // handed over under the lock
  bool quit = false;
  bool result = false;
  DWORD error = 0;  // GetLastError of a job that failed, taken on the worker's thread
  UniqueKernelHandle wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  UniqueKernelHandle done{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  InternetCall call;
  ~Shared() { wine::Unwatch(call.context); }
};

InternetWorker::InternetWorker() : shared_(std::make_shared<Shared>()) {
  shared_->call.context = wine::Watch(std::shared_ptr<InternetCall>(shared_, &shared_->call));
  std::thread([shared = shared_] { Serve(shared); }).detach();
}

void InternetWorker::Serve(const std::shared_ptr<Shared>& shared) {
  for (;;) {
    // Unbounded on purpose: the owner always ends this thread, at the latest when it goes.
    WaitForSingleObject(shared->wake.get(), INFINITE);
    InternetWorker::Job job;
    {
      std::lock_guard<std::mutex> guard(shared->lock);
      if (shared->quit) break;
      job = std::move(shared->job);
      shared->job = nullptr;
    }
    if (!job) continue;
    const bool ok = job(shared->call);
    const DWORD error = ok ? 0 : GetLastError();
    {
      std::lock_guard<std::mutex> guard(shared->lock);
      shared->result = ok;
      shared->error = error;
    }
    SetEvent(shared->done.get());
  }
  UniqueInternet handles[InternetCall::kSlots];
  shared->call.TakeAll(handles);
  CloseInOrder(handles);
  shared->call.sharedRoot.reset();
}

namespace {

StepResult FromWait(WaitOutcome outcome) {
  switch (outcome) {
    case WaitOutcome::kTimedOut:
      return StepResult::kTimedOut;
    case WaitOutcome::kGivenUp:
      return StepResult::kFailed;
    default:
      return StepResult::kStopped;
  }
}

DWORD ErrorOf(WaitOutcome outcome) {
  switch (outcome) {
    case WaitOutcome::kTimedOut:
      return ERROR_INTERNET_TIMEOUT;
    case WaitOutcome::kGivenUp:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    default:
      return ERROR_INTERNET_OPERATION_CANCELLED;
  }
}

// On the worker: the body, block by block, into the ring. A read asked for a whole block waits
// until the whole block has come, so an HTTP read asks only for the bytes WinInet says have
// arrived: a body that trickles in would otherwise run into the wait's bound although it never
// stalls. An FTP file is read in whole blocks: asked what has arrived while the data connection
// is empty for a moment, Wine's WinInet fails with ERROR_IO_PENDING (a file sent in pieces with
// pauses failed so).
bool StreamBody(InternetCall& call, InternetWorker::BodyReads reads) {
  const HINTERNET request = call.Get(InternetCall::kRequest);
  BlockRing& ring = call.ring;
  const auto fail = [&ring] {
    const DWORD error = GetLastError();
    ring.End(error ? error : ERROR_INTERNET_CONNECTION_ABORTED);
    return false;
  };
  DWORD available = 0;
  for (;;) {
    char* block = ring.Reserve();
    if (!block) return true;  // the request is being closed
    DWORD wanted = kNetworkBlockSize;
    if (reads == InternetWorker::BodyReads::kWhatHasArrived) {
      if (available == 0 && !InternetQueryDataAvailable(request, &available, 0, 0)) return fail();
      if (available == 0) break;
      wanted = std::min(available, kNetworkBlockSize);
    }
    DWORD read = 0;
    if (!InternetReadFile(request, block, wanted, &read)) return fail();
    if (read == 0) break;
    available -= std::min(available, read);
    ring.Commit(read);
  }
  ring.End(0);
  return true;
}

}  // namespace

InternetCall& InternetWorker::call() { return shared_->call; }
const InternetCall& InternetWorker::call() const { return shared_->call; }

void InternetWorker::Close() {
  if (closed_) return;
  closed_ = true;
  shared_->call.ring.Stop();
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->quit = true;
    shared_->job = nullptr;
  }
  SetEvent(shared_->wake.get());
}

void InternetWorker::Cancel() {
  if (onGiveUp_) onGiveUp_();
  // Closing the handles here ends the call that blocks on the worker.
  UniqueInternet handles[InternetCall::kSlots];
  shared_->call.TakeAll(handles);
  shared_->call.ring.Stop();
  CloseInOrder(handles);
  Close();
}

StepResult InternetWorker::Wait(HANDLE event, const WaitPolicy& wait) {
  const WaitOutcome outcome = WaitPumping(event, wait);
  if (outcome == WaitOutcome::kSignalled) return StepResult::kDone;
  Cancel();
  lastError_ = ErrorOf(outcome);
  return FromWait(outcome);
}

void InternetWorker::Hand(Job job) {
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->job = std::move(job);
  }
  SetEvent(shared_->wake.get());
}

StepResult InternetWorker::Run(Job job, const WaitPolicy& wait) {
  lastError_ = 0;
  // A started job has told its end already; what is left of it is quick.
  if (started_ && !closed_ && Wait(shared_->done.get(), wait) != StepResult::kDone)
    return StepResult::kFailed;
  started_ = false;
  if (closed_) {
    lastError_ = ERROR_INTERNET_CONNECTION_ABORTED;
    return StepResult::kFailed;
  }
  Hand(std::move(job));
  const StepResult waited = Wait(shared_->done.get(), wait);
  if (waited != StepResult::kDone) return waited;
  std::lock_guard<std::mutex> guard(shared_->lock);
  lastError_ = shared_->error;
  return shared_->result ? StepResult::kDone : StepResult::kFailed;
}

StepResult InternetWorker::Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait) {
  *written = 0;
  if (closed_ || size > kNetworkBlockSize) return StepResult::kFailed;
  // The worker's own copy: a write that is given up may still read it.
  InternetCall& call = shared_->call;
  std::copy(data, data + size, call.block);
  const StepResult r = Run(
      [size](InternetCall& c) {
        c.count = 0;
        return InternetWriteFile(c.Get(InternetCall::kRequest), c.block, size, &c.count) != FALSE;
      },
      wait);
  if (r == StepResult::kDone) *written = call.count;
  return r;
}

StepResult InternetWorker::Read(const char** data, DWORD* bytes, const WaitPolicy& wait, BodyReads reads) {
  BlockRing& ring = shared_->call.ring;
  *data = shared_->call.block;
  *bytes = 0;
  if (handedOut_) ring.Release();  // the caller is done with it
  handedOut_ = false;
  if (!streaming_) {
    if (closed_) {
      lastError_ = ERROR_INTERNET_CONNECTION_ABORTED;
      return StepResult::kFailed;
    }
    ring.Reset();
    Hand([reads](InternetCall& call) { return StreamBody(call, reads); });
    started_ = streaming_ = true;
  }
  for (;;) {
    if (ring.Front(data, bytes)) {
      handedOut_ = true;
      return StepResult::kDone;
    }
    DWORD error = 0;
    if (ring.Ended(&error)) {
      lastError_ = error;
      return error == 0 ? StepResult::kDone : StepResult::kFailed;
    }
    if (!ring.MustWait(wine::RingLookMicros())) continue;
    const StepResult waited = Wait(ring.Arrived(), wait);
    if (waited != StepResult::kDone) return waited;  // given up: the read is cancelled already
  }
}

bool InternetWorker::Reading() const {
  DWORD error = 0;
  return streaming_ && !shared_->call.ring.Ended(&error);
}

}  // namespace holvex
