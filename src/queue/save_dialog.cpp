#include "queue/save_dialog.h"

#include "host/main_window_host.h"
#include "platform/file_io.h"
#include "queue/download_queue.h"
#include "queue/queue_store.h"
#include "toolkit/application.h"

namespace holvex {

namespace {
constexpr UINT WM_START_WORK = WM_APP + 1;
constexpr DWORD kProgressIntervalMs = 40;

FormParams SaveDialogParams() {
  FormParams p;
  p.className = "TForm4";
  p.clientWidth = 305;
  p.clientHeight = 137;
  p.style = WS_POPUP | WS_CAPTION;
  p.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.fontPoints = 8;  // 11 pixels on a 96-dpi screen
  return p;
}
}  // namespace

TForm4::TForm4(MainWindowHost& main) : Form(SaveDialogParams()), main_(main) {
  Animate1.Create(hwnd(), 16, 4);
  Animate1.Open("Animation2");
  Label1.Create(hwnd(), Rect{8, 78, 289, 16}, "Speichere Warteschleife...");
  SetWindowLongA(Label1.hwnd(), GWL_STYLE, (GetWindowLongA(Label1.hwnd(), GWL_STYLE) & ~SS_LEFT) | SS_CENTER);
  italic_ = CreatePointFont("Arial", 8, false);
  LOGFONTA lf{};
  GetObjectA(font(), sizeof lf, &lf);
  lf.lfItalic = TRUE;
  italic_.reset(CreateFontIndirectA(&lf));
  SendMessageA(Label1.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(italic_.get()), FALSE);
  ProgressBar1.Create(hwnd(), Rect{8, 102, 289, 16}, false);
  ProgressBar1.SetStep(1);
  Timer2.Create(*this, 2000);
  Timer2.OnTimer = [this] { Timer2Timer(); };
  OnShow = [this] {
    CenterOver(main_.MainForm());
    PostMessageA(hwnd(), WM_START_WORK, 0, 0);
  };
}

LRESULT TForm4::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_START_WORK) {
    FormActivate();
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

bool TForm4::Execute() {
  saved_ = false;
  ShowModal();
  return saved_;
}

void TForm4::FormActivate() {
  Application& app = Application::Instance();
  DownloadQueue& queue = main_.Queue();
  queue.RemoveFinishedEntries();
  Animate1.Play();
  if (queue.Empty()) {
    // Nothing to keep: the file goes.
    if ((saved_ = Save())) {
      app.ProcessMessages();
      Label1.SetText("Warteschleife wird bearbeitet...");
    }
    Timer2.SetEnabled(true);
    return;
  }
  Label1.SetText("Speichere Warteschleife...");
  app.ProcessMessages();
  ProgressBar1.SetRange(0, static_cast<int>(queue.Count()));
  ProgressBar1.SetPosition(0);
  ProgressBar1.StepIt();
  saved_ = Save();
  Timer2.SetEnabled(true);
  Label1.SetText("Beende Vorgang...");
  Label1.Repaint();
  Sleep(500);
  ProgressBar1.SetPosition(static_cast<int>(queue.Count()));
  app.ProcessMessages();
}

bool TForm4::Save() {
  lastShown_ = 0;
  try {
    QueueViewLock lock(main_);
    main_.QueueFile().Save(main_.Queue(), [this](size_t index, size_t count, const QueueEntry& entry) {
      ShowProgress(index, count, entry);
    });
    return true;
  } catch (const FileWriteError& e) {
    // The old file stays whole and the dialog still closes.
    main_.MainForm().ShowMessageBox("Datei \"" + e.path() + "\" kann nicht erstellt werden. " + e.reason(),
                                    "Holvex 2004", MB_OK | MB_ICONERROR);
    return false;
  }
}

// Painting the name of every entry would cost more than saving it: the name and the bar
// follow a few dozen times a second, and the last entry is always shown.
void TForm4::ShowProgress(size_t index, size_t count, const QueueEntry& entry) {
  const DWORD now = GetTickCount();
  const bool last = index + 1 == count;
  if (last || lastShown_ == 0 || now - lastShown_ >= kProgressIntervalMs) {
    lastShown_ = now == 0 ? 1 : now;
    Label1.SetText("Verarbeite Datei \"" + entry.fileName + "\"...");
    Label1.Repaint();
    ProgressBar1.SetPosition(static_cast<int>(index) + 2);
  }
  Application::Instance().ProcessMessagesIfDue();
}

void TForm4::Timer2Timer() {
  Timer2.SetEnabled(false);
  SetModalResult(saved_ ? IDOK : IDABORT);
  Close();
}

}  // namespace holvex
