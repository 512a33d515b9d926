#include "queue/busy_dialog.h"

#include "host/main_window_host.h"
#include "toolkit/application.h"
#include "toolkit/label_fonts.h"

namespace holvex {

namespace {
constexpr UINT WM_START_WORK = WM_APP + 1;

FormParams BusyParams(const char* className, int clientHeight) {
  FormParams p;
  p.className = className;
  p.clientWidth = 305;
  p.clientHeight = clientHeight;
  p.style = WS_POPUP | WS_CAPTION;
  p.exStyle = WS_EX_TOOLWINDOW;
  return p;
}

}  // namespace

BusyDialog::BusyDialog(MainWindowHost& main, const char* className, int clientHeight,
                       const std::string& heading, const std::string& status, UINT progressMs, UINT closeMs)
    : Form(BusyParams(className, clientHeight)), main_(main) {
  bold_ = ArialFont(11, true, false);
  italic_ = ArialFont(11, false, true);
  heading_ = ArialFont(19, true, false);
  Animate1.Create(hwnd(), 8, 8);
  Animate1.Open("Animation1");
  Label1.Create(hwnd(), Rect{66, 8, 231, 22}, heading);
  Label2.Create(hwnd(), Rect{66, 34, 231, 14}, status);
  Label3.Create(hwnd(), Rect{8, 64, 70, 14}, "Dateiname");
  Label4.Create(hwnd(), Rect{80, 64, 217, 14}, "...");
  Label5.Create(hwnd(), Rect{8, 82, 70, 14}, "Größe");
  Label6.Create(hwnd(), Rect{80, 82, 217, 14}, "...");
  SetLabelFont(Label1, heading_);
  SetLabelFont(Label2, italic_);
  SetLabelFont(Label3, bold_);
  SetLabelFont(Label4, italic_);
  SetLabelFont(Label5, bold_);
  SetLabelFont(Label6, italic_);
  ProgressBar1.Create(hwnd(), Rect{8, 108, 289, 16}, false);
  ProgressBar1.SetRange(0, 100);
  ProgressBar1.SetStep(10);
  Timer1.Create(*this, progressMs);
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer2.Create(*this, closeMs);
  Timer2.OnTimer = [this] { Timer2Timer(); };
  OnShow = [this] {
    CenterOver(main_.MainForm());
    PostMessageA(hwnd(), WM_START_WORK, 0, 0);
  };
}

LRESULT BusyDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_START_WORK) {
    Animate1.Play();
    FormActivate();
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void BusyDialog::SetStatus(const std::string& text) { Label2.SetText(text); }

void BusyDialog::Pump() { Application::Instance().ProcessMessages(); }

void BusyDialog::RepaintNow() {
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void BusyDialog::Timer1Timer() {
  if (ProgressBar1.Position() >= 100) ProgressBar1.SetPosition(0);
  ProgressBar1.StepIt();
  Pump();
}

void BusyDialog::Timer2Timer() {
  Timer2.SetEnabled(false);
  SetModalResult(IDOK);
  Close();
}

}  // namespace holvex
