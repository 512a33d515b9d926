// The download run: one engine job per queue entry, in list order, and the engine's events.
#include <windows.h>

#include <cmath>

#include <mmsystem.h>
#include <wininet.h>

#include "app/byte_count.h"
#include "app/download_window.h"
#include "app/main_form.h"
#include "app/saved_file_name.h"
#include "net/url_record.h"
#include "platform/file_io.h"
#include "platform/locale_format.h"
#include "toolkit/application.h"

namespace holvex {

namespace {

// Progress reports come for every 4096-byte block; redrawing every text for each of them
// would cost more than the transfer. Texts follow at this interval, and always for the
// first and the last report.
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

}  // namespace

bool TForm1::IsOnline() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

void TForm1::SetExtraWindow(TForm9* window) {
  extra_ = window;
  if (extra_) extra_->onCancel = [this] { SpeedButton4Click(); };
}

void TForm1::ConfigureTransfer() {
  Transfer1.ShowDialog = false;
  Transfer1.FTPPassive = true;
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

void TForm1::ApplyProxyToTransfer() {
  Transfer1.Proxy = EngineProxyAddress(proxy_);
  Transfer1.ProxyUserID = proxy_.username;
  Transfer1.ProxyPassword = proxy_.password;
}

void TForm1::LockCommands(bool running) {
  for (SpeedButton* b : {&SpeedButton1, &SpeedButton2, &SpeedButton3}) b->SetEnabled(!running);
  SpeedButton4.SetEnabled(running);
  for (MenuItem* m :
       {&Downloadhinzufgen1, &extdatei1, &Beenden1, &Hinzufgen1, &Lschen1, &Allgemeines1, &ProxyServer1})
    m->SetEnabled(!running);
  LockTrayCommands(running);
  // Disabled without greying, as the system menu's Close of a busy window is.
  EnableMenuItem(GetSystemMenu(hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | (running ? MF_DISABLED : MF_ENABLED));
}

void TForm1::SpeedButton3Click() {
  if (!IsOnline()) {
    PostMessageA(hwnd(), WM_MSGBOX_CENTER, 0, 0);
    MsgBoxCaption = "Fehler";
    AddLogLine("Download abgebrochen \"Keine Verbindung gefunden.\"");
    MessageBoxA(hwnd(), "Bitte stellen Sie erst eine verbindung mit dem Internet her!", "Fehler",
                MB_OK | MB_ICONERROR);
    return;
  }
  queue_.RemoveFinishedEntries();
  DownloadRunning = true;
  LockCommands(true);
  // The entries are taken by identity: rows removed during the run are skipped, no other
  // row is visited twice or written by mistake.
  std::vector<EntryId> entries;
  for (size_t i = 0; i < queue_.Count(); ++i) entries.push_back(queue_.IdAt(i));
  for (EntryId id : entries) {
    if (!DownloadRunning) {
      AddLogLine("Downloads abgebrochen durch Benutzer.");
      Transfer1.CancelCopy();
      HideExtraWindow();
      return;
    }
    if (!queue_.IndexOf(id)) continue;
    TransferEntry(id);
  }
  SpeedButton4Click();
}

bool TForm1::TransferEntry(EntryId id) {
  const QueueEntry entry = queue_.At(*queue_.IndexOf(id));
  CurrentFileName = entry.fileName;
  PrepareExtraWindow(entry);
  StartTick = GetTickCount();
  lastProgressView_ = 0;
  const std::optional<std::string> savedName = SavedFileName(entry);
  if (!savedName) {
    AddLogLine("Fehler beim Download von \"" + entry.fileName + "\": ungültiger Dateiname.");
    queue_.SetStatus(*queue_.IndexOf(id), kStatusFailed);
    return false;
  }
  try {
    AddLogLine("Download der Datei \"" + entry.fileName + "\"...");
    Transfer1.Items.BeginUpdate();
    Transfer1.Items.Clear();
    TTransferItem& item = Transfer1.Items.Add();
    item.URL = entry.url;
    item.TargetDir = settings_.downloadfolder;
    // The file is saved under the name the list shows (get.php, not get.php?id=7), so that
    // the download can succeed and "Datei öffnen" finds it.
    item.TargetFilename = *savedName;
    Transfer1.Items.EndUpdate();
    ShowExtraWindow();
    CurrentEntry = id;
    Transfer1.Execute();
    // A body without an announced length never reports size = totsize: the engine's own
    // word that the whole file arrived decides.
    if (Transfer1.Items.Count() > 0 && Transfer1.Items[0].Copied && DownloadRunning)
      SetCurrentStatus("Fertig");
    else if (DownloadRunning && !CurrentEntryEnded())
      // The engine gives up a body quietly (a stalled or broken line, a failed write): the
      // entry must not go on showing a rate as if it were still arriving.
      ReportFailure("Download Fehler: Übertragung unterbrochen.");
    Application::Instance().ProcessMessages();
    HideExtraWindow();
    return true;
  } catch (...) {
    AddLogLine("Fehler beim Download von \"" + entry.fileName + "\"...");
    ClearPanels();
    if (std::optional<size_t> index = queue_.IndexOf(id)) queue_.SetStatus(*index, "Fehler");
    HideExtraWindow();
    return false;
  }
}

void TForm1::SpeedButton4Click() {
  DownloadRunning = false;
  LockCommands(false);
  DownloadRunning = false;
  Application::Instance().ProcessMessages();
  HideExtraWindow();
  Transfer1.CancelCopy();
}

void TForm1::PrepareExtraWindow(const QueueEntry& entry) {
  if (!extra_) return;
  extra_->SetText("0 % von " + entry.fileName + " fertiggestellt.");
  extra_->Label2.SetText("");
  extra_->Label6.SetText("00:00:00");
  extra_->Label8.SetText("0 KB/Sek.");
  extra_->Label9.SetText("( 0 KB von 0 KB fertig )");
  extra_->Label7.SetText(settings_.downloadfolder);
  extra_->Label2.SetText(entry.fileName + " von " + TUrlRecord(entry.url).host);
}

void TForm1::SetCurrentStatus(const std::string& status) {
  // An entry removed during its transfer is no longer written to.
  if (std::optional<size_t> index = queue_.IndexOf(CurrentEntry)) queue_.SetStatus(*index, status);
}

bool TForm1::CurrentEntryEnded() const {
  std::optional<size_t> index = queue_.IndexOf(CurrentEntry);
  if (!index) return true;
  const std::string& status = queue_.At(*index).status;
  return status == kStatusDone || status == kStatusFailed || status == kStatusCancelled;
}

void TForm1::ShowExtraWindow() {
  if (extra_ && settings_.status) extra_->ShowOver(*this);
}

void TForm1::HideExtraWindow() {
  if (extra_ && settings_.status) extra_->Hide();
}

void TForm1::ClearPanels() {
  for (int panel = 0; panel < 3; ++panel) StatusBar1.SetPanelText(panel, "");
}

void TForm1::Transfer1CopyProgress(std::int64_t size, std::int64_t totsize) {
  const DWORD now = GetTickCount();
  const bool complete = size == totsize;
  if (lastProgressView_ == 0 || complete || now - lastProgressView_ >= kProgressViewIntervalMs) {
    lastProgressView_ = now ? now : 1;
    Application& app = Application::Instance();
    const LocaleSeparators seps = UserLocaleSeparators();
    const double elapsed = static_cast<double>(now - StartTick);
    // Without a size, a byte or a tick the estimates are undefined: show zeros, never NaN.
    const double remaining =
        (size > 0 && totsize > size) ? double(totsize - size) * elapsed / double(size) : 0.0;
    const std::string timeText = TimeOfDayText(remaining);
    const long long percent = totsize > 0 ? std::llround(double(size) * 100.0 / double(totsize)) : 0;
    const std::string percentText = std::to_string(percent);
    if (extra_) {
      TForm9::SetTextIfChanged(extra_->Label9, "( " + FormatByteCount(size, seps) + " von " +
                                                   FormatByteCount(totsize, seps) + " fertig. )");
      extra_->SetBarBytes(size, totsize);
    }
    StatusBar1.SetPanelText(0, "Lade " + CurrentFileName + "...");
    StatusBar1.SetPanelText(1, "Fertig: " + percentText + " %");
    StatusBar1.SetPanelText(2, "Dauer: " + timeText);
    const double seconds = static_cast<double>(GetTickCount() - StartTick) / 1000.0;
    const double rate = seconds > 0 ? double(size) / (seconds * 1024.0) : 0.0;
    const std::string rateText = FormatHundredths(std::llround(rate * 100.0), seps) + " KB/Sek.";
    SetCurrentStatus(rateText);
    if (extra_) {
      TForm9::SetTextIfChanged(extra_->Label8, rateText);
      TForm9::SetTextIfChanged(extra_->Label6, timeText);
      TForm9::SetTextIfChanged(*extra_, percentText + " % von " + CurrentFileName + " fertiggestellt.");
    }
    app.ProcessMessages();
  }
  if (complete) SetCurrentStatus("Fertig");
  if (!DownloadRunning) SetCurrentStatus("Abgebrochen");
}

void TForm1::Transfer1FileStart() {
  SetCurrentStatus("Verbinde...");
  AddLogLine("Verbindung hergestellt.");
  AddLogLine("Kopiere Daten in Zielordner...");
}

void TForm1::Transfer1FileDone() {
  HideExtraWindow();
  ClearPanels();
}

void TForm1::Transfer1CopyDone() {
  HideExtraWindow();
  ClearPanels();
  AddLogLine("Download beendet.");
  if (!settings_.playwav) return;
  if (FileExists(settings_.wavfile)) {
    PlaySoundA(settings_.wavfile.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
  } else {
    AddLogLine("Die WAV Datei konnte nicht abgespielt werden. Datei nicht gefunden.");
  }
}

void TForm1::ReportFailure(const std::string& logLine) {
  HideExtraWindow();
  SetCurrentStatus("Fehler");
  ClearPanels();
  AddLogLine(logLine);
}

void TForm1::Transfer1ConnectError() { ReportFailure("Download Fehler: Verbindung fehlgeschlagen."); }
void TForm1::Transfer1Error(int errorCode) {
  ReportFailure("Download Fehler: Code" + std::to_string(errorCode));
}
void TForm1::Transfer1URLNotFound() { ReportFailure("Download Fehler: Datei nicht gefunden."); }

void TForm1::Transfer1CopyCancel() {
  HideExtraWindow();
  Application::Instance().ProcessMessages();
  ClearPanels();
  AddLogLine("Download Fehler: Abbruch durch Benutzer");
}

}  // namespace holvex
