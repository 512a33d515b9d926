#pragma once
// What the program holds between its windows: the queue and its file, the settings, the proxy,
// the HTTP client, the transfer engine and the download run; and the commands that wait. It
// lives as long as the main window, which shows it, and knows no window.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/http_client.h"
#include "queue/download_queue.h"
#include "queue/queue_store.h"
#include "run/download_run.h"
#include "run/entry_transfer.h"
#include "session/command_state.h"
#include "settings/settings.h"
#include "transfer/transfer_engine.h"

namespace holvex {

struct SessionOptions {
  std::string baseDir;  // where load.hvq and load.ini live: the executable's folder
  // Longest silence of a server before its download is given up.
  DWORD stallTimeoutMs = 30000;
};

class ProgramSession {
 public:
  explicit ProgramSession(SessionOptions options);
  ProgramSession(const ProgramSession&) = delete;
  ProgramSession& operator=(const ProgramSession&) = delete;

  // The window that shows the run; given once, by the main window as it is made.
  void ShowRunIn(RunView& view);
  DownloadRun& Run() { return *run_; }

  DownloadQueue& Queue() { return queue_; }
  QueueStore& QueueFile() { return queueStore_; }
  std::string QueueFilePath() const { return queueStore_.Path(); }
  std::string SettingsFilePath() const;
  // Restores load.hvq; the system's reason when the file exists but cannot be read.
  std::optional<std::string> RestoreQueue(const QueueRestoreHooks& hooks);

  // Reads load.ini into memory and hands the proxy to both clients.
  void LoadSettings();
  const GeneralSettings& Settings() const { return settings_; }
  void ApplySettings(const GeneralSettings& settings) { settings_ = settings; }
  const ProxySettings& Proxy() const { return proxy_; }
  void ApplyProxy(const ProxySettings& proxy);
  THttpClient& HttpClient() { return HttpClient1; }

  // The state the commands are decided from, with whether a modal window is open.
  ProgramState State(bool modalOpen) const;
  CommandState StateOf(Command command, bool modalOpen) const {
    return holvex::StateOf(command, State(modalOpen));
  }
  // What choosing the command does now. One that waits is kept with `later`, one of its kind at
  // a time, until it may run.
  Use Request(Command command, bool modalOpen, std::function<void()> later);
  // The first waiting command that may run now, taken out; empty when none may.
  std::function<void()> TakeDueCommand(bool modalOpen);
  bool HasWaitingCommands() const { return !waiting_.empty(); }

  bool StartupDone() const { return startupDone_; }
  // Every window exists. The automatic run joins the commands that waited, as a click on
  // "Download": a click made during start-up and the automatic run are one run.
  void EndStartup();
  void SetAdding(bool adding) { adding_ = adding; }

 private:
  void ConfigureTransfer();
  void ApplyProxyToHttpClient();
  void ApplyProxyToTransfer();

  // The engine's events, passed to the run.
  void Transfer1FileStart() { run_->FileStarted(); }
  void Transfer1CopyProgress(std::int64_t size, std::int64_t totsize) { run_->Progress(size, totsize); }
  void Transfer1FileDone() { run_->FileDone(); }
  void Transfer1CopyDone() { run_->CopyDone(); }
  void Transfer1ConnectError() { run_->ConnectFailed(); }
  void Transfer1Error(int errorCode) { run_->Failed(errorCode); }
  void Transfer1URLNotFound() { run_->NotFound(); }
  void Transfer1CopyCancel() { run_->CopyCancelled(); }

  SessionOptions options_;
  QueueStore queueStore_;
  DownloadQueue queue_;
  GeneralSettings settings_;
  ProxySettings proxy_;
  THttpClient HttpClient1;  // the size probes and the update query
  TTransferEngine Transfer1;
  EngineTransfer transfer_{Transfer1};
  std::optional<DownloadRun> run_;
  bool startupDone_ = false;
  bool adding_ = false;
  std::vector<std::pair<Command, std::function<void()>>> waiting_;  // in the order they came
};

}  // namespace holvex
