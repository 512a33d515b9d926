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
  std::string url;
  if (!InputQuery("Download hinzufügen",
                  "Bitte geben Sie die Adresse der zu speichernden Datei in das folgende Feld ein:", url) ||
      url.empty())
    return;
  if (!IsValidDownloadUrl(url)) {
    ShowMessageBox(kRejectedAddress, "Fehler", MB_OK | MB_ICONERROR);
    return;
  }
  if (!showAddDialog) return;
  StatusBar1.SetPanelText(0, "Bitte warten...");
  // The add commands stay locked while the dialog works, also when it fails.
  struct Adding {
    TForm1& form;
    explicit Adding(TForm1& f) : form(f) { Set(true); }
    ~Adding() { Set(false); }
    void Set(bool adding) {
      form.session_.SetAdding(adding);
      form.ApplyCommandState();
    }
  } adding(*this);
  showAddDialog(url);
  StatusBar1.SetPanelText(0, "");
}

void TForm1::RemoveSelected(bool reportNoSelection) {
  DownloadQueue& queue = Queue();
  std::optional<size_t> row = ListView1.SelectedRow();
  if (!row || *row >= queue.Count()) {
    if (reportNoSelection) ShowMessageBox("Es wurde keine Datei ausgewählt.", "Fehler", MB_OK | MB_ICONERROR);
    return;
  }
  std::string name = queue.At(*row).fileName;
  queue.RemoveAt(*row);
  AddLogLine("Datei \"" + name + "\" aus Warteschleife gelöscht.");
}

void TForm1::SetSelectedStatus(const char* status) {
  std::optional<size_t> row = ListView1.SelectedRow();
  if (row && *row < Queue().Count()) Queue().SetStatus(*row, status);
}

void TForm1::Wartend1Click() { SetSelectedStatus(kStatusWaiting); }
void TForm1::Fertig1Click() { SetSelectedStatus(kStatusDone); }

void TForm1::Dateiffnen1Click() {
  std::optional<size_t> row = ListView1.SelectedRow();
  if (!row || *row >= Queue().Count()) return;
  // Only where the run saved it: never a name that leads out of the download folder.
  const std::optional<std::string> name = SavedFileName(Queue().At(*row));
  if (!name) return;
  // The backslash is added even when the folder ends with one; Windows accepts both.
  std::string path = Settings().downloadfolder + "\\" + *name;
  if (FileExists(path)) OpenWithShell(path.c_str(), hwnd(), nullptr, SW_SHOW);
}

bool TForm1::ListView1Editing(size_t row) {
  if (row >= Queue().Count()) return false;
  editedEntry_ = Queue().IdAt(row);
  return true;
}

void TForm1::ListView1Edited(const std::string& name) {
  DownloadQueue& queue = Queue();
  const std::optional<size_t> index = queue.IndexOf(editedEntry_);
  editedEntry_ = 0;
  if (!index || queue.At(*index).fileName == name) return;
  // The download is saved under this name: it must stay a plain name in the download folder.
  if (!IsPlainFileName(name)) {
    // The list is still ending its edit; the box follows once it has, and the old name stays.
    rejectedName_ = name;
    PostMessageA(hwnd(), WM_NAME_REJECTED, 0, 0);
    return;
  }
  QueueEntry entry = queue.At(*index);
  entry.fileName = name;
  queue.Set(*index, std::move(entry));
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

void TForm1::fertigeDownloadsentfernen1Click() { Queue().RemoveFinishedEntries(); }
void TForm1::fehlerhafteDownloadsentfernen1Click() { Queue().RemoveFailedEntries(); }
void TForm1::Verwerfen1Click() { Queue().Clear(); }

void TForm1::SaveQueue() {
  if (showSaveDialog) showSaveDialog();
}

void TForm1::ImportLinks() {
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
    AddLogLine("Fehlerhafte Datei \"Downloads importieren\"");
    ShowMessageBox("Die von ihnen ausgewählte Datei enthält 0 Zeilen!", "Fehler", MB_OK | MB_ICONERROR);
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
  // A request that waits comes again, from the message loop, once it may.
  const Use use =
      session_.Request(Command::kClose, ModalWindowOpen(), [this] { SendMessageA(hwnd(), WM_CLOSE, 0, 0); });
  if (use == Use::kBehindDialog) SetForegroundWindow(GetLastActivePopup(hwnd()));
  return use == Use::kNow && ExitIfConfirmed();
}

bool TForm1::ExitIfConfirmed() {
  if (ShowMessageBox("Wollen Sie das Programm wirklich beenden?", "Beenden", MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return false;
  if (!showSaveDialog || !showSaveDialog()) {
    // Ending now would lose every change since the last good save: the exit is called off,
    // and the user can leave again once the file can be written.
    AddLogLine("Programm nicht beendet: Die Warteschleife konnte nicht gespeichert werden.");
    return false;
  }
  Application& app = Application::Instance();
  app.ProcessMessages();
  // The one place the program ends: the main window closes without asking again.
  app.Terminate();
  return true;
}

}  // namespace holvex
