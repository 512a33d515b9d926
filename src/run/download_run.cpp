#include "run/download_run.h"

#include <cmath>

#include <mmsystem.h>

#include <optional>

#include <wininet.h>

#include "net/url_record.h"
#include "platform/file_io.h"
#include "platform/locale_format.h"
#include "run/byte_count.h"
#include "run/saved_file_name.h"
#include "toolkit/application.h"

namespace holvex {

namespace {

// Progress reports come for every 4096-byte block; showing every text for each of them would
// cost more than the transfer. Texts follow at this interval, and always for the first and the
// last report.
constexpr DWORD kProgressViewIntervalMs = 50;

std::string TimeOfDayText(double milliseconds) {
  if (!(milliseconds > 0) || !std::isfinite(milliseconds)) milliseconds = 0;
  // A time of day wraps; taken in floating point, as an estimate for terabytes can exceed 64 bits.
  auto seconds = static_cast<long long>(std::fmod(std::floor(milliseconds / 1000.0), 86400.0));
  SYSTEMTIME t{};
  t.wYear = 1899;
  t.wMonth = 12;
  t.wDay = 30;
  t.wHour = static_cast<WORD>(seconds / 3600);
  t.wMinute = static_cast<WORD>(seconds / 60 % 60);
  t.wSecond = static_cast<WORD>(seconds % 60);
  char text[64] = {};
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, text, sizeof text))
    return FormatClockTime(t.wHour, t.wMinute, t.wSecond);
  return text;
}

void ProcessMessages() { Application::Instance().ProcessMessages(); }

}  // namespace

DownloadRun::DownloadRun(DownloadQueue& queue, EntryTransfer& transfer, const GeneralSettings& settings,
                         RunView& view)
    : queue_(queue), transfer_(transfer), settings_(settings), view_(view) {}

bool DownloadRun::IsOnline() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

DownloadRun::State DownloadRun::CurrentState() const {
  if (running_) return State::kRunning;
  return active_ ? State::kUnwinding : State::kIdle;
}

void DownloadRun::Start() {
  // A second run nested in one that still unwinds would run under its entry.
  if (active_) return;
  if (!IsOnline()) {
    view_.ReportOffline();
    return;
  }
  queue_.RemoveFinishedEntries();
  running_ = true;
  active_ = true;
  // Told on every way out, once the run is off the stack.
  struct Ended {
    DownloadRun& run;
    ~Ended() {
      run.active_ = false;
      run.view_.RunStateChanged();
    }
  } ended{*this};
  view_.RunStateChanged();
  // The entries are taken by identity: rows removed during the run are skipped, no other row
  // is visited twice or written by mistake.
  std::vector<EntryId> entries;
  for (size_t i = 0; i < queue_.Count(); ++i) entries.push_back(queue_.IdAt(i));
  for (EntryId id : entries) {
    if (!running_) {
      view_.AddLogLine("Downloads abgebrochen durch Benutzer.");
      transfer_.Cancel();
      ShowExtraWindow(false);
      return;
    }
    if (queue_.IndexOf(id)) TransferEntry(id);
  }
  Cancel();
}

void DownloadRun::Cancel() {
  const bool settle = inEntry_ && !cancelled_;
  if (inEntry_) cancelled_ = true;
  running_ = false;
  if (settle) Finish(EntryEnd::kCancelled);
  view_.RunStateChanged();
  ProcessMessages();
  ShowExtraWindow(false);
  transfer_.Cancel();
}

void DownloadRun::TransferEntry(EntryId id) {
  const QueueEntry entry = queue_.At(*queue_.IndexOf(id));
  current_ = id;
  currentFileName_ = entry.fileName;
  cancelled_ = false;
  view_.PrepareEntry(entry.fileName, entry.fileName + " von " + TUrlRecord(entry.url).host,
                     settings_.downloadfolder);
  startTick_ = GetTickCount();
  lastView_ = 0;
  const std::optional<std::string> savedName = SavedFileName(entry);
  if (!savedName) {
    Fail("Fehler beim Download von \"" + entry.fileName + "\": ungültiger Dateiname.");
    Finish(EntryEnd::kFailed);
    return;
  }
  EntryEnd end = EntryEnd::kFailed;
  inEntry_ = true;
  try {
    end = RunEngine(entry, *savedName);
  } catch (const std::exception& e) {
    end = EndWithError(entry, e.what());
  } catch (...) {
    end = EndWithError(entry, "");
  }
  inEntry_ = false;
  // A cancel has settled the entry already, and wins over what the engine finished after it.
  if (!cancelled_) Finish(end);
  ProcessMessages();
  ShowExtraWindow(false);
}

DownloadRun::EntryEnd DownloadRun::RunEngine(const QueueEntry& entry, const std::string& savedName) {
  view_.AddLogLine("Download der Datei \"" + entry.fileName + "\"...");
  ShowExtraWindow(true);
  // Saved under the name the list shows (get.php, not get.php?id=7), so that the download can
  // succeed and "Datei öffnen" finds it. The engine's own word on the entry decides: a body
  // without an announced length never reports size = totsize, and a failure has been told by
  // the engine's events already.
  const TTransferOutcome outcome = transfer_.Fetch(entry.url, settings_.downloadfolder, savedName);
  switch (outcome.kind) {
    case TTransferOutcome::kDone:
      return EntryEnd::kDone;
    case TTransferOutcome::kCancelled:
      return EntryEnd::kCancelled;
    default:
      // A failure the engine tells through no event still says why.
      if (outcome.report == TTransferOutcome::kUnreported && !outcome.text.empty())
        Fail("Download Fehler: " + outcome.text);
      return EntryEnd::kFailed;
  }
}

DownloadRun::EntryEnd DownloadRun::EndWithError(const QueueEntry& entry, const std::string& reason) {
  Fail("Fehler beim Download von \"" + entry.fileName + "\"...");
  if (!reason.empty()) view_.AddLogLine(reason);
  return EntryEnd::kFailed;
}

void DownloadRun::Finish(EntryEnd end) {
  switch (end) {
    case EntryEnd::kDone:
      SetCurrentStatus(kStatusDone);
      break;
    case EntryEnd::kFailed:
      SetCurrentStatus(kStatusFailed);
      break;
    case EntryEnd::kCancelled:
      SetCurrentStatus(kStatusCancelled);
      break;
  }
}

void DownloadRun::Fail(const std::string& logLine) {
  ShowExtraWindow(false);
  view_.ClearPanels();
  view_.AddLogLine(logLine);
}

void DownloadRun::SetCurrentStatus(const std::string& status) {
  // An entry removed during its transfer is no longer written to.
  if (std::optional<size_t> index = queue_.IndexOf(current_)) queue_.SetStatus(*index, status);
}

void DownloadRun::ShowExtraWindow(bool shown) {
  if (settings_.status) view_.ShowExtraWindow(shown);
}

void DownloadRun::Progress(std::int64_t size, std::int64_t totsize) {
  // After a cancel the entry's end is settled; its last blocks show nothing more.
  if (!running_) return;
  const DWORD now = GetTickCount();
  const bool last = totsize > 0 && size >= totsize;
  if (lastView_ != 0 && !last && now - lastView_ < kProgressViewIntervalMs) return;
  lastView_ = now ? now : 1;
  ShowProgress(size, totsize, now);
  ProcessMessages();
}

void DownloadRun::ShowProgress(std::int64_t size, std::int64_t totsize, DWORD now) {
  const LocaleSeparators seps = UserLocaleSeparators();
  const double elapsed = static_cast<double>(now - startTick_);
  ProgressTexts t;
  t.fileName = currentFileName_;
  t.size = size;
  t.totsize = totsize;
  t.amount = "( " + FormatByteCount(size, seps) + " von " + FormatByteCount(totsize, seps) + " fertig. )";
  // Without a size, a byte or a tick the estimates are undefined: zeros, never NaN.
  t.remaining =
      TimeOfDayText((size > 0 && totsize > size) ? double(totsize - size) * elapsed / double(size) : 0.0);
  t.percent = std::to_string(totsize > 0 ? std::llround(double(size) * 100.0 / double(totsize)) : 0);
  const double rate = elapsed > 0 ? double(size) / (elapsed / 1000.0 * 1024.0) : 0.0;
  t.rate = FormatHundredths(std::llround(rate * 100.0), seps) + " KB/Sek.";
  SetCurrentStatus(t.rate);
  view_.ShowProgress(t);
}

void DownloadRun::FileStarted() {
  SetCurrentStatus("Verbinde...");
  view_.AddLogLine("Verbindung hergestellt.");
  view_.AddLogLine("Kopiere Daten in Zielordner...");
}

void DownloadRun::FileDone() {
  ShowExtraWindow(false);
  view_.ClearPanels();
}

void DownloadRun::CopyDone() {
  ShowExtraWindow(false);
  view_.ClearPanels();
  view_.AddLogLine("Download beendet.");
  if (!settings_.playwav) return;
  if (FileExists(settings_.wavfile)) {
    PlaySoundA(settings_.wavfile.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
  } else {
    view_.AddLogLine("Die WAV Datei konnte nicht abgespielt werden. Datei nicht gefunden.");
  }
}

void DownloadRun::ConnectFailed() { Fail("Download Fehler: Verbindung fehlgeschlagen."); }
void DownloadRun::Failed(int errorCode) { Fail("Download Fehler: Code" + std::to_string(errorCode)); }
void DownloadRun::NotFound() { Fail("Download Fehler: Datei nicht gefunden."); }

void DownloadRun::CopyCancelled() {
  ShowExtraWindow(false);
  ProcessMessages();
  view_.ClearPanels();
  view_.AddLogLine("Download Fehler: Abbruch durch Benutzer");
}

}  // namespace holvex
