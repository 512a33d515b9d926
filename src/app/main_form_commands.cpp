// The queue commands of the main window.
#include <windows.h>
#include <shellapi.h>

#include "app/main_form.h"
#include "platform/file_io.h"
#include "queue/download_address.h"
#include "queue/link_file.h"
#include "run/saved_file_name.h"
#include "toolkit/application.h"
#include "toolkit/input_query.h"
#include "update/homepage.h"
#include "update/maker_addresses.h"

namespace holvex {

namespace {
constexpr const char* kRejectedAddress =
    "Die eingegebene URL ist falsch bzw. ungültig!\n\r\n\r"
    "Eine korrekte Downloadadresse beginnt mit http:// oder ftp:// und endet mit einem Dateinamen.";
}

void TForm1::AddDownload() {
  PendingUrl.clear();
  std::string typed;
  if (InputQuery("Download hinzufügen",
                 "Bitte geben Sie die Adresse der zu speichernden Datei in das folgende Feld ein:", typed))
    PendingUrl = typed;
  if (PendingUrl.empty()) return;
  if (!IsValidDownloadUrl(PendingUrl)) {
    ShowMessageBox(kRejectedAddress, "Fehler", MB_OK | MB_ICONERROR);
    return;
  }
  if (!showAddDialog) return;
  StatusBar1.SetPanelText(0, "Bitte warten...");
  SpeedButton1.SetEnabled(false);
  Downloadhinzufgen1.SetEnabled(false);
  Hinzufgen1.SetEnabled(false);
  showAddDialog();
  StatusBar1.SetPanelText(0, "");
  SpeedButton1.SetEnabled(true);
  Downloadhinzufgen1.SetEnabled(true);
  Hinzufgen1.SetEnabled(true);
}

void TForm1::SpeedButton2Click() {
  std::optional<size_t> row = ListView1.SelectedRow();
  if (!row || *row >= queue_.Count()) return;
  std::string name = queue_.At(*row).fileName;
  queue_.RemoveAt(*row);
  AddLogLine("Datei \"" + name + "\" aus Warteschleife gelöscht.");
}

void TForm1::Lschen1Click() {
  std::optional<size_t> row = ListView1.SelectedRow();
  if (!row || *row >= queue_.Count()) {
    ShowMessageBox("Es wurde keine Datei ausgewählt.", "Fehler", MB_OK | MB_ICONERROR);
    return;
  }
  SpeedButton2Click();
}

void TForm1::SetSelectedStatus(const char* status) {
  std::optional<size_t> row = ListView1.SelectedRow();
  if (row && *row < queue_.Count()) queue_.SetStatus(*row, status);
}

void TForm1::Wartend1Click() { SetSelectedStatus(kStatusWaiting); }
void TForm1::Fertig1Click() { SetSelectedStatus(kStatusDone); }

void TForm1::Dateiffnen1Click() {
  std::optional<size_t> row = ListView1.SelectedRow();
  if (!row || *row >= queue_.Count()) return;
  // Only where the run saved it: never a name that leads out of the download folder.
  const std::optional<std::string> name = SavedFileName(queue_.At(*row));
  if (!name) return;
  // The backslash is added even when the folder ends with one; Windows accepts both.
  std::string path = settings_.downloadfolder + "\\" + *name;
  if (FileExists(path)) OpenWithShell(path.c_str(), hwnd(), nullptr, SW_SHOW);
}

bool TForm1::ListView1Editing(size_t row) {
  if (row >= queue_.Count()) return false;
  editedEntry_ = queue_.IdAt(row);
  return true;
}

void TForm1::ListView1Edited(const std::string& name) {
  const std::optional<size_t> index = queue_.IndexOf(editedEntry_);
  editedEntry_ = 0;
  if (!index || queue_.At(*index).fileName == name) return;
  // The download is saved under this name: it must stay a plain name in the download folder.
  if (!IsPlainFileName(name)) {
    // The list is still ending its edit; the box follows once it has, and the old name stays.
    rejectedName_ = name;
    PostMessageA(hwnd(), WM_NAME_REJECTED, 0, 0);
    return;
  }
  QueueEntry entry = queue_.At(*index);
  entry.fileName = name;
  queue_.Set(*index, std::move(entry));
}

void TForm1::ShowRejectedName() {
  AddLogLine("Dateiname \"" + rejectedName_ + "\" abgelehnt: Der bisherige Name bleibt.");
  ShowMessageBox("\"" + rejectedName_ +
                     "\" ist kein gültiger Dateiname. Der bisherige Name bleibt.\r\n\r\n"
                     "Ein Dateiname darf keinen Ordner und kein Laufwerk nennen, keines der Zeichen "
                     "\\ / : * ? \" < > | enthalten, kein Gerätename wie CON oder NUL sein und nicht mit "
                     "einem Punkt oder Leerzeichen enden.",
                 "Fehler", MB_OK | MB_ICONERROR);
}

void TForm1::fertigeDownloadsentfernen1Click() { queue_.RemoveFinishedEntries(); }
void TForm1::fehlerhafteDownloadsentfernen1Click() { queue_.RemoveFailedEntries(); }
void TForm1::Verwerfen1Click() { queue_.Clear(); }

void TForm1::Speichern1Click() {
  if (showSaveDialog) showSaveDialog();
}

void TForm1::extdatei1Click() {
  if (!OpenDialog1.Execute(hwnd())) return;
  if (OpenDialog1.FileName.empty()) {
    AddLogLine("Keine Datei angegeben \"Importieren aus Textdatei\"");
    return;
  }
  ListBox1.Clear();
  std::string reason;
  std::optional<std::string> text = ReadFileBytes(OpenDialog1.FileName, &reason);
  if (!text) {
    ShowMessageBox("Datei " + OpenDialog1.FileName + " kann nicht geöffnet werden. " + reason, "Holvex 2004",
                   MB_OK | MB_ICONERROR);
    return;
  }
  {
    std::vector<std::string> lines = SplitLinkFileLines(*text);
    text.reset();
    ListBox1.AddLines(lines);
  }
  if (ListBox1.Count() == 0) {
    PostMessageA(hwnd(), WM_MSGBOX_CENTER, 0, 0);
    MsgBoxCaption = "Fehler";
    AddLogLine("Fehlerhafte Datei \"Downloads importieren\"");
    MessageBoxA(hwnd(), "Die von ihnen ausgewählte Datei enthält 0 Zeilen!", "Fehler", MB_OK | MB_ICONERROR);
    return;
  }
  if (showImportDialog) showImportDialog(OpenDialog1.FileName);
  ListBox1.Clear();
}

void TForm1::OpenDialog1Close() {
  if (OpenDialog1.FileName.empty()) AddLogLine("Keine Datei angegeben \"Importieren aus Textdatei\"");
}

void TForm1::OpenWithShell(const char* target, HWND owner, const char* params, int show) {
  ShellExecuteA(owner, "open", target, params, nullptr, show);
}

void TForm1::Homepage1Click() { OpenHomepage(hwnd()); }
void TForm1::Fehlerbericht1Click() { OpenWithShell(kErrorReportUrl, hwnd(), " ", SW_SHOWNORMAL); }

bool TForm1::FormCloseQuery() {
  // Until start-up has ended there is no save dialog to end through: the request waits for it.
  if (!startupComplete_) {
    closeRequestedDuringStartup_ = true;
    return false;
  }
  // The close command is locked during a run; a close request from elsewhere waits as well. One
  // that comes while the exit question is open is answered by that question.
  if (run_.Running() || exitQuestionOpen_) return false;
  exitQuestionOpen_ = true;
  const int answer =
      ShowMessageBox("Wollen Sie das Programm wirklich beenden?", "Beenden", MB_YESNO | MB_ICONQUESTION);
  exitQuestionOpen_ = false;
  if (answer != IDYES) return false;
  ExitRequested = true;
  if (showSaveDialog) showSaveDialog();
  Application::Instance().ProcessMessages();
  // A save that failed has called the exit off: the window stays with its queue.
  return ExitRequested;
}

void TForm1::Beenden1Click() {
  // The same question and save as closing the window; the save dialog ends the program.
  if (FormCloseQuery()) Application::Instance().Terminate();
}

}  // namespace holvex
