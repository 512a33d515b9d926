#pragma once
// Blocking WinInet calls on a worker thread, waited for on the GUI thread.
//
// Every network step of the engine, HTTP and FTP alike, is a synchronous WinInet call made on the
// connection's own worker thread while the GUI thread waits for it with WaitPumping: the windows
// stay alive, a cancel ends the wait at once, and a silent server is given up after the wait's
// bound. Why not WinInet's asynchronous mode: docs/DEVELOPING.md, "One way to wait".
//
// The handles live with the worker and each is closed once. A call that is given up while it
// blocks is cancelled as WinInet documents it: the GUI thread closes the connection's handles,
// which ends the blocking call on the worker. Every further call then fails at once, and the
// worker ends on its own. A connection closed between calls hands its handles to the worker, so
// that whatever WinInet does while it closes them never holds the window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include <wininet.h>

#include "toolkit/handles.h"
#include "transfer/async_wait.h"
#include "transfer/block_ring.h"
#include "transfer/internet_handle.h"

namespace holvex {

enum class StepResult { kDone, kFailed, kTimedOut, kStopped };

// A root handle that several connections share; it closes with the last of them.
using SharedRoot = std::shared_ptr<UniqueInternet>;

// What a connection's calls work on. The GUI thread looks at the data only between a call's end
// and the next call; the handles are reached through the lock, since a cancel takes them away.
class InternetCall {
 public:
  enum Slot { kRoot, kConnection, kRequest, kSlots };

  HINTERNET Get(Slot slot) const;
  // Takes a handle a call created; one made after the connection was given up is closed at once.
  bool Keep(Slot slot, HINTERNET handle);
  // Closes the handle in that slot, here and now; false when WinInet says the close failed (an FTP
  // file whose end the server did not confirm).
  bool Close(Slot slot);
  // Takes every handle away, for closing by the caller (the request first); later Keeps refuse.
  void TakeAll(UniqueInternet (&handles)[kSlots]);

  SharedRoot sharedRoot;       // the run's root, for HTTP; FTP has a root of its own in kRoot
  std::uintptr_t context = 0;  // what the call's handles are made with (wine_workarounds.h)
  char block[kNetworkBlockSize] = {};
  DWORD count = 0;  // bytes a write took from block
  BlockRing ring;   // a body's blocks, read on by the worker while the GUI thread writes
  WIN32_FIND_DATAA record{};
  INTERNET_BUFFERSA buffers{};
  // Under Wine, told by WinInet's status callback (wine_workarounds.h) while a call runs.
  void SetConnectedTo(std::string address);
  std::string ConnectedTo() const;
  void SetConnectionClosed(bool closed);
  bool ConnectionClosed() const;

 private:
  mutable std::mutex lock_;
  std::string connectedTo_;
  bool connectionClosed_ = false;
  UniqueInternet handles_[kSlots];
  bool givenUp_ = false;
};

class InternetWorker {
 public:
  using Job = std::function<bool(InternetCall&)>;  // returns the WinInet call's BOOL

  InternetWorker();
  ~InternetWorker() { Close(); }
  InternetWorker(const InternetWorker&) = delete;
  InternetWorker& operator=(const InternetWorker&) = delete;

  // Runs job on the worker and waits for it. A wait that ends otherwise than with the job's end
  // gives the connection up (see above).
  StepResult Run(Job job, const WaitPolicy& wait);
  // Hands up to kNetworkBlockSize bytes to the open request (an FTP file); *written says how many
  // WinInet took.
  StepResult Write(const char* data, DWORD size, DWORD* written, const WaitPolicy& wait);
  // How the worker asks WinInet for a body: for what has arrived, or for whole blocks.
  enum class BodyReads { kWhatHasArrived, kWholeBlocks };
  // The next block of the open request (an HTTP body, an FTP file), which the worker reads ahead
  // into the call's ring; *bytes 0 at the end. The block stays valid until the next Read.
  StepResult Read(const char** data, DWORD* bytes, const WaitPolicy& wait, BodyReads reads);
  // A body is being read and has not been taken to its end.
  bool Reading() const;
  // Cancels what runs now as a wait given up does: the handles are closed here.
  void Cancel();
  // Hands every handle to the worker to close, without waiting; later calls fail at once.
  void Close();
  bool Closed() const { return closed_; }
  // GetLastError of the last call that failed; a wait given up counts as ERROR_INTERNET_TIMEOUT,
  // a stop as ERROR_INTERNET_OPERATION_CANCELLED, a call refused after the end as a connection
  // broken off.
  DWORD LastError() const { return lastError_; }
  InternetCall& call();
  const InternetCall& call() const;
  // Runs on the GUI thread when a wait gives the connection up, before its handles are closed.
  void OnGiveUp(std::function<void()> hook) { onGiveUp_ = std::move(hook); }

 private:
  struct Shared;
  static void Serve(const std::shared_ptr<Shared>& shared);
  void Hand(Job job);
  // Waits for event like Run waits for its job; kDone when it was set.
  StepResult Wait(HANDLE event, const WaitPolicy& wait);
  // Read's body job, which tells the GUI thread through the ring: the next Run or Close first
  // lets it end.
  bool started_ = false;
  bool streaming_ = false;  // Read started the body's reading
  bool handedOut_ = false;  // Read's caller holds the ring's oldest block

  std::function<void()> onGiveUp_;

  std::shared_ptr<Shared> shared_;
  bool closed_ = false;
  DWORD lastError_ = 0;
};

}  // namespace holvex
