#include "session/program_session.h"

#include <algorithm>

#include "platform/file_io.h"
#include "queue/queue_file.h"

namespace holvex {

ProgramSession::ProgramSession(SessionOptions options)
    : options_(std::move(options)), queueStore_(PathInDirectory(options_.baseDir, kQueueFileName)) {
  ConfigureTransfer();
}

void ProgramSession::ShowRunIn(RunView& view) { run_.emplace(queue_, transfer_, settings_, view); }

std::string ProgramSession::SettingsFilePath() const {
  return PathInDirectory(options_.baseDir, kSettingsFileName);
}

std::optional<std::string> ProgramSession::RestoreQueue(const QueueRestoreHooks& hooks) {
  queueStore_.log = hooks.log;
  return queueStore_.Restore(queue_, hooks);
}

void ProgramSession::LoadSettings() {
  IniDocument ini = SettingsFile(SettingsFilePath()).Load();
  settings_ = ReadGeneralSettings(ini);
  ApplyProxy(ReadProxySettings(ini));
}

void ProgramSession::ApplyProxy(const ProxySettings& proxy) {
  proxy_ = proxy;
  ApplyProxyToHttpClient();
  ApplyProxyToTransfer();
}

void ProgramSession::ApplyProxyToHttpClient() {
  TProxySettings& proxy = HttpClient1.ProxyParams();
  proxy.SetProxyServer(proxy_.server);
  // An empty or unreadable port gives 0.
  proxy.SetProxyPort(ProxyPortNumber(proxy_.port).value_or(0));
  proxy.ProxyUsername = proxy_.username;
  proxy.ProxyPassword = proxy_.password;
}

void ProgramSession::ApplyProxyToTransfer() {
  Transfer1.Proxy = EngineProxyAddress(proxy_);
  Transfer1.ProxyUserID = proxy_.username;
  Transfer1.ProxyPassword = proxy_.password;
}

void ProgramSession::ConfigureTransfer() {
  Transfer1.ShowDialog = false;
  Transfer1.FTPPassive = true;
  Transfer1.StallTimeoutMs = options_.stallTimeoutMs;
  Transfer1.OnFileStart = [this](TTransferEngine&, int) { Transfer1FileStart(); };
  Transfer1.OnCopyProgress = [this](TTransferEngine&, int, std::int64_t size, std::int64_t totsize) {
    Transfer1CopyProgress(size, totsize);
  };
  Transfer1.OnFileDone = [this](TTransferEngine&, int) { Transfer1FileDone(); };
  Transfer1.OnCopyDone = [this](TTransferEngine&) { Transfer1CopyDone(); };
  Transfer1.OnConnectError = [this](TTransferEngine&) { Transfer1ConnectError(); };
  Transfer1.OnError = [this](TTransferEngine&, int code) { Transfer1Error(code); };
  Transfer1.OnURLNotFound = [this](TTransferEngine&, const std::string&) { Transfer1URLNotFound(); };
  Transfer1.OnCopyCancel = [this](TTransferEngine&) { Transfer1CopyCancel(); };
}

ProgramState ProgramSession::State(bool modalOpen) const {
  ProgramState state;
  state.startupDone = startupDone_;
  switch (run_ ? run_->CurrentState() : DownloadRun::State::kIdle) {
    case DownloadRun::State::kIdle:
      state.run = RunPhase::kIdle;
      break;
    case DownloadRun::State::kRunning:
      state.run = RunPhase::kRunning;
      break;
    case DownloadRun::State::kUnwinding:
      state.run = RunPhase::kUnwinding;
      break;
  }
  state.modalOpen = modalOpen;
  state.adding = adding_;
  return state;
}

Use ProgramSession::Request(Command command, bool modalOpen, std::function<void()> later) {
  const Use use = StateOf(command, modalOpen).use;
  if (use != Use::kLater) return use;
  const Command kind = WaitingKind(command);
  const bool waits =
      std::any_of(waiting_.begin(), waiting_.end(), [kind](const auto& w) { return w.first == kind; });
  if (!waits) waiting_.emplace_back(kind, std::move(later));
  return use;
}

std::function<void()> ProgramSession::TakeDueCommand(bool modalOpen) {
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    const Use use = StateOf(it->first, modalOpen).use;
    if (use == Use::kNow) {
      std::function<void()> command = std::move(it->second);
      waiting_.erase(it);
      return command;
    }
    // Refused now (a run began meanwhile, say): the wish has passed.
    it = use == Use::kRefused ? waiting_.erase(it) : it + 1;
  }
  return {};
}

void ProgramSession::EndStartup() {
  if (settings_.autostart) Request(Command::kStart, false, [this] { run_->Start(); });
  startupDone_ = true;
}

}  // namespace holvex
