// The main window's side of a download run: the engine's configuration and events, and what
// the run shows in the log, the commands, the status bar and the extra window.
#include <windows.h>

#include "app/download_window.h"
#include "app/main_form.h"

namespace holvex {

void TForm1::SetExtraWindow(TForm9* window) {
  extra_ = window;
  if (extra_) extra_->onCancel = [this] { SpeedButton4Click(); };
}

void TForm1::ConfigureTransfer() {
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

void TForm1::ApplyProxyToTransfer() {
  Transfer1.Proxy = EngineProxyAddress(proxy_);
  Transfer1.ProxyUserID = proxy_.username;
  Transfer1.ProxyPassword = proxy_.password;
}

void TForm1::ReportOffline() {
  PostMessageA(hwnd(), WM_MSGBOX_CENTER, 0, 0);
  MsgBoxCaption = "Fehler";
  AddLogLine("Download abgebrochen \"Keine Verbindung gefunden.\"");
  MessageBoxA(hwnd(), "Bitte stellen Sie erst eine verbindung mit dem Internet her!", "Fehler",
              MB_OK | MB_ICONERROR);
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

void TForm1::PrepareEntry(const std::string& fileName, const std::string& source, const std::string& folder) {
  if (extra_) extra_->BeginEntry(fileName, source, folder);
}

void TForm1::ShowExtraWindow(bool shown) {
  if (!extra_) return;
  if (shown)
    extra_->ShowOver(*this);
  else
    extra_->Hide();
}

void TForm1::ShowProgress(const ProgressTexts& t) {
  StatusBar1.SetPanelText(0, "Lade " + t.fileName + "...");
  StatusBar1.SetPanelText(1, "Fertig: " + t.percent + " %");
  StatusBar1.SetPanelText(2, "Dauer: " + t.remaining);
  if (extra_) extra_->ShowProgress(t);
}

void TForm1::ClearPanels() {
  for (int panel = 0; panel < 3; ++panel) StatusBar1.SetPanelText(panel, "");
}

}  // namespace holvex
