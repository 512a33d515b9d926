// The main window's side of a download run: what the run shows in the log, the commands, the
// status bar and the extra window.
#include <windows.h>

#include "app/download_window.h"
#include "app/main_form.h"

namespace holvex {

void TForm1::SetExtraWindow(TForm9* window) {
  extra_ = window;
  if (extra_) extra_->onCancel = [this] { SpeedButton4Click(); };
}

void TForm1::ReportOffline() {
  AddLogLine("Download abgebrochen \"Keine Verbindung gefunden.\"");
  ShowMessageBox("Bitte stellen Sie erst eine verbindung mit dem Internet her!", "Fehler",
                 MB_OK | MB_ICONERROR);
}

void TForm1::RunStateChanged() {
  ApplyCommandState();
  // A command that waited for the cancelled run runs from the message loop, not nested in it.
  if (session_.HasWaitingCommands()) PostMessageA(hwnd(), WM_RUN_WAITING, 0, 0);
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
