#include "app/main_form.h"

#include "platform/file_io.h"
#include "platform/locale_format.h"
#include "queue/queue_file.h"
#include "queue/queue_store.h"
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
  return p;
}
}  // namespace

TForm1::TForm1(MainFormOptions options) : Form(MainParams()), options_(std::move(options)) {
  CreateControls();
  BindQueueToList();
  CenterOnScreen();
  FormCreate();
}

void TForm1::CreateControls() {
  ListView1.Create(hwnd(), Rect{8, 40, 499, 248});
  ListView1.AddColumn("Datei", 175);
  ListView1.AddColumn("Größe", 70);
  ListView1.AddColumn("Status", 100);
  ListView1.AddColumn("URL", 150);

  PageControl1.Create(hwnd(), Rect{8, 296, 497, 145});
  TabSheet1 = &PageControl1.AddPage("Status");
  Memo1.Create(TabSheet1->hwnd(), Rect{8, 8, 473, 97});

  StatusBar1.Create(hwnd());
  StatusBar1.SetPanelWidths({257, 100, 50});

  ListBox1.Create(hwnd(), Rect{-200, 40, 121, 97});
}

void TForm1::BindQueueToList() {
  ListView1.cellText = [this](size_t row, int column) -> std::string {
    if (row >= queue_.Count()) return {};
    const QueueEntry& e = queue_.At(row);
    switch (column) {
      case 0: return e.fileName;
      case 1: return e.size;
      case 2: return e.status;
      case 3: return e.url;
      default: return {};
    }
  };
  queue_.onChange = [this](const QueueChange& change) {
    switch (change.kind) {
      case QueueChange::Kind::Appended:
        ListView1.SetRowCount(queue_.Count(), true);
        break;
      case QueueChange::Kind::Changed:
        ListView1.RedrawRow(change.index);
        break;
      case QueueChange::Kind::Removed: {
        // The removed row's selection goes with it; rows below keep theirs.
        std::optional<size_t> selected = ListView1.SelectedRow();
        ListView1.SetRowCount(queue_.Count());
        if (selected && *selected == change.index) ListView1.SelectRow(std::nullopt);
        else if (selected && *selected > change.index) ListView1.SelectRow(*selected - 1);
        ListView1.RedrawAll();
        break;
      }
      case QueueChange::Kind::Reset:
        ListView1.SelectRow(std::nullopt);
        ListView1.SetRowCount(queue_.Count());
        ListView1.RedrawAll();
        break;
    }
  };
}

std::string TForm1::QueueFilePath() const { return PathInDirectory(options_.baseDir, kQueueFileName); }
std::string TForm1::SettingsFilePath() const { return PathInDirectory(options_.baseDir, kSettingsFileName); }

void TForm1::AddLogLine(const std::string& message) { Memo1.AppendLine(CurrentClockTime() + ": " + message); }

void TForm1::FormCreate() {
  Application& app = Application::Instance();
  instance_ = std::make_unique<SingleInstance>(options_.instanceName);
  if (instance_->AnotherRuns()) {
    // Another copy runs: end silently, touching no file.
    app.Terminate();
    ExitProcess(0);
  }

  QueueRestoreHooks hooks;
  hooks.log = [this](const std::string& line) { AddLogLine(line); };
  hooks.sectionName = [this](const std::string& name) { ListBox1.Add(name); };
  hooks.processEvents = [&app] { app.ProcessMessages(); };
  {
    // The window is not shown yet; painting the list row by row would only cost time.
    ListView::UpdateLock lock(ListView1);
    RestoreQueue(QueueFilePath(), queue_, hooks);
  }

  IniDocument ini = SettingsFile(SettingsFilePath()).Load();
  settings_ = ReadGeneralSettings(ini);
  proxy_ = ReadProxySettings(ini);

  if (settings_.systemtray) Hide();
  else Show();
  app.ProcessMessages();
}

}  // namespace holvex
