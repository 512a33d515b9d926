#include "app/main_form.h"

#include "platform/file_io.h"
#include "platform/locale_format.h"
#include "queue/queue_file.h"
#include "queue/queue_store.h"
#include "resource_ids.h"
#include "toolkit/application.h"

namespace holvex {

namespace {
FormParams MainParams() {
  FormParams p;
  p.className = "TForm1";
  p.caption = "Holvex 2004";
  p.clientWidth = 516;
  p.clientHeight = 467;
  p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  p.hasMenu = true;
  return p;
}
}  // namespace

TForm1::TForm1(ProgramSession& session, MainFormOptions options)
    : Form(MainParams()), session_(session), options_(std::move(options)) {
  session_.ShowRunIn(*this);
  // A handler that fails is seen: logged and shown, as the program's other unexpected errors.
  Application::Instance().OnHandlerError = [this](const std::string& text) {
    AddLogLine(text);
    ShowMessageBox(text, "Holvex 2004", MB_OK | MB_ICONERROR);
  };
  CreateMenus();
  CreateTrayMenu();
  // The menu bar may take more than one line: keep the client area at its size.
  SetClientSize(516, 467);
  CreateControls();
  ConnectHandlers();
  ApplyCommandState();
  BindQueueToList();
  CenterOnScreen();
  FormCreate();
}

TForm1::~TForm1() {
  if (Application* app = Application::Current()) app->OnHandlerError = nullptr;
  // The session outlives this window: nothing of it may call back into a window that is gone.
  Queue().onChange = nullptr;
  QueueFile().log = nullptr;
}

void TForm1::CreateControls() {
  SpeedButton1.Create(hwnd(), Rect{8, 11, 105, 22}, "Hinzufügen", IDI_GLYPH_ADD);
  SpeedButton2.Create(hwnd(), Rect{120, 11, 105, 22}, "Löschen", IDI_GLYPH_REMOVE);
  SpeedButton3.Create(hwnd(), Rect{288, 11, 105, 22}, "Download", IDI_GLYPH_DOWNLOAD);
  SpeedButton4.Create(hwnd(), Rect{400, 11, 105, 22}, "Abbrechen", IDI_GLYPH_CANCEL);
  SpeedButton4.SetEnabled(false);

  // The file-name cell can be edited in place; the other cells cannot.
  ListView1.Create(hwnd(), Rect{8, 40, 499, 248}, true);
  ListView1.AddColumn("Datei", 175);
  ListView1.AddColumn("Größe", 70);
  ListView1.AddColumn("Status", 100);
  ListView1.AddColumn("URL", 150);

  PageControl1.Create(hwnd(), Rect{8, 296, 497, 145});
  TabSheet1 = &PageControl1.AddPage("Status");
  Memo1.Create(TabSheet1->hwnd(), Rect{8, 8, 473, 97});

  StatusBar1.Create(hwnd());
  StatusBar1.SetPanelWidths({257, 100, StatusBar::kToTheEnd});

  ListBox1.Create(hwnd(), Rect{-200, 40, 121, 97}, false);

  OpenDialog1.Title = "Downloadlinks importieren";
  OpenDialog1.Filter = "Textdateien|*.txt|Alle Dateitypen|*.*";
  OpenDialog1.NoPlacesBar = true;
}

void TForm1::BindQueueToList() {
  DownloadQueue& queue = session_.Queue();
  ListView1.cellText = [this, &queue](size_t row, int column) -> std::string {
    if (row >= queue.Count()) return {};
    const QueueEntry& e = queue.At(row);
    switch (column) {
      case 0:
        return e.fileName;
      case 1:
        return e.size;
      case 2:
        return e.status;
      case 3:
        return e.url;
      default:
        return {};
    }
  };
  queue.onChange = [this, &queue](const QueueChange& change) {
    switch (change.kind) {
      case QueueChange::Kind::Appended:
        ListView1.SetRowCount(queue.Count(), true);
        break;
      case QueueChange::Kind::Changed:
        ListView1.RedrawRow(change.index);
        break;
      case QueueChange::Kind::Removed:
      case QueueChange::Kind::RemovedMany: {
        // A removed row's selection goes with it; the rows that stay keep theirs.
        std::optional<size_t> selected = ListView1.SelectedRow();
        ListView1.SetRowCount(queue.Count());
        if (selected) ListView1.SelectRow(change.NewIndexOf(*selected));
        ListView1.RedrawAll();
        break;
      }
      case QueueChange::Kind::Reset:
        ListView1.SelectRow(std::nullopt);
        ListView1.SetRowCount(queue.Count());
        ListView1.RedrawAll();
        break;
    }
  };
}

void TForm1::AddLogLine(const std::string& message) { Memo1.AppendLine(CurrentClockTime() + ": " + message); }

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT styled = 0; MenuStyler1.HandleMessage(msg, wp, lp, &styled)) return styled;
  switch (msg) {
    case WM_RUN_WAITING:
      RunWaitingCommands();
      return 0;
    case WM_NAME_REJECTED:
      ShowRejectedName();
      return 0;
    case WM_ENDSESSION:
      WMEndSession(wp != FALSE);
      return 0;
    case WM_SYSCOMMAND:
      if (WMSysCommand(wp)) return 0;
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == ListView1.hwnd()) {
        int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
        if (x == -1 && y == -1) {  // from the keyboard: at the list's corner
          RECT rc;
          GetWindowRect(ListView1.hwnd(), &rc);
          x = rc.left + 8;
          y = rc.top + 8;
        }
        PopupMenu1.Popup(x, y);
        return 0;
      }
      break;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TForm1::FormCreate() {
  Application& app = Application::Instance();
  instance_ = std::make_unique<SingleInstance>(options_.instanceName);
  if (instance_->AnotherRuns()) {
    // Another copy runs: end silently, touching no file and showing no icon.
    if (options_.onAnotherInstance) {
      options_.onAnotherInstance();
      return;
    }
    app.Terminate();
    ExitProcess(0);
  }
  CreateTrayIcon();
  MitWindowsstarten1.SetChecked(AutostartEntryExists(*options_.runKey, kAutostartValueName));

  QueueRestoreHooks hooks;
  hooks.log = [this](const std::string& line) { AddLogLine(line); };
  hooks.sectionName = [this](const std::string& name) { ListBox1.Add(name); };
  // After each row, as often as keeps the windows responsive (a look at the message queue
  // per row would cost more than the rows).
  hooks.processEvents = [&app] { app.ProcessMessagesIfDue(); };
  std::optional<std::string> unreadable;
  {
    // The window is not shown yet; painting the list row by row would only cost time.
    ListView::UpdateLock lock(ListView1);
    unreadable = session_.RestoreQueue(hooks);
  }
  if (unreadable) AddLogLine("Warteschleife nicht geladen: " + UnreadQueueFileText(*unreadable));
  app.ProcessMessages();

  session_.LoadSettings();

  if (Settings().systemtray)
    HideToTray();
  else
    Show();
  app.ProcessMessages();

  TrayIcon1->Hint = "Holvex 2004";
  app.ProcessMessages();
  // Shown once the window is there to centre over.
  if (unreadable) ReportUnreadQueueFile(*unreadable);
}

std::string TForm1::UnreadQueueFileText(const std::string& reason) const {
  return "Datei \"" + QueueFilePath() + "\" kann nicht gelesen werden. " + reason;
}

void TForm1::ReportUnreadQueueFile(const std::string& reason) {
  ShowMessageBox(UnreadQueueFileText(reason) +
                     "\r\n\r\nDie Warteschleife beginnt leer. Die Datei bleibt erhalten: Sie wird erst "
                     "wieder gespeichert, wenn sie gelesen werden kann oder entfernt wurde.",
                 "Holvex 2004", MB_OK | MB_ICONERROR);
}

}  // namespace holvex
