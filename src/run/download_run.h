#pragma once
// A download run: every entry of the queue not yet "Fertig", in list order, one engine job each,
// synchronously on the GUI thread. The run owns its state — whether it runs, the entry being
// transferred and its timing — and gives every entry its final status in one place, from how
// the entry ended: done, failed (its reason logged) or cancelled.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "queue/download_queue.h"
#include "run/entry_transfer.h"
#include "run/run_view.h"
#include "settings/settings.h"

namespace holvex {

class DownloadRun {
 public:
  enum class EntryEnd { kDone, kFailed, kCancelled };
  // Unwinding: cancelled, but the run (and maybe its entry's engine job) is still on the stack.
  enum class State { kIdle, kRunning, kUnwinding };

  DownloadRun(DownloadQueue& queue, EntryTransfer& transfer, const GeneralSettings& settings, RunView& view);
  DownloadRun(const DownloadRun&) = delete;
  DownloadRun& operator=(const DownloadRun&) = delete;

  // Runs the queue; returns when every entry was tried or the user cancelled.
  void Start();
  // Ends the run: the entry in transfer ends "Abgebrochen" at once, so that a queue saved before
  // the engine has unwound keeps it so; the engine stops at its next look.
  void Cancel();
  bool Running() const { return running_; }
  State CurrentState() const;
  static bool IsOnline();

  // The engine's events, for the entry being transferred.
  void FileStarted();
  void Progress(std::int64_t size, std::int64_t totsize);
  void FileDone();
  void CopyDone();
  void ConnectFailed();
  void Failed(int errorCode);
  void NotFound();
  void CopyCancelled();

 private:
  void TransferEntry(EntryId id);
  EntryEnd RunEngine(const QueueEntry& entry, const std::string& savedName);
  // The one place an entry's final status is written.
  void Finish(EntryEnd end);
  void Fail(const std::string& logLine);
  // An error raised inside the engine job: the entry's line, and what the error said.
  EntryEnd EndWithError(const QueueEntry& entry, const std::string& reason);
  void SetCurrentStatus(const std::string& status);
  void ShowExtraWindow(bool shown);
  void ShowProgress(std::int64_t size, std::int64_t totsize, DWORD now);

  DownloadQueue& queue_;
  EntryTransfer& transfer_;
  const GeneralSettings& settings_;
  RunView& view_;
  bool running_ = false;
  bool active_ = false;   // Start is on the stack
  bool inEntry_ = false;  // an engine job is on the stack
  EntryId current_ = 0;   // the entry being transferred, by identity, not by row
  std::string currentFileName_;
  DWORD startTick_ = 0;
  DWORD lastView_ = 0;      // when the texts were last shown; 0 before the first report
  bool cancelled_ = false;  // the user cancelled during the current entry
};

}  // namespace holvex
