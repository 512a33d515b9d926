#include "transfer/progress_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

namespace holvex {

namespace {
constexpr UINT kFinishedMessage = WM_APP + 41;
constexpr int kDownloadClip = 257;

FormParams DialogParams(const ProgressDialogSetup& setup) {
  FormParams params;
  params.className = "TTransferProgressDialog";
  params.caption = setup.caption + " ...";
  params.style = WS_POPUP | WS_CAPTION;  // dialog border, no border icons
  params.exStyle = WS_EX_DLGMODALFRAME;
  return params;
}
}  // namespace

ProgressDialog::ProgressDialog(const ProgressDialogSetup& setup) : Form(DialogParams(setup)) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  caption_ = setup.caption + " ...";
  // The sizes are the window's outer size.
  SetWindowPos(hwnd(), nullptr, 0, 0, kWidth, setup.showTime ? 212 : 192,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterOnScreen();
  CreateChildren(setup);
}

void ProgressDialog::CreateChildren(const ProgressDialogSetup& setup) {
  constexpr int kLineHeight = 16;
  constexpr int kLineWidth = kWidth - 20;
  FileLabel.Create(hwnd(), Rect{10, 80, kLineWidth, kLineHeight}, setup.fileLabel);
  ProgressLabel.Create(hwnd(), Rect{10, 100, kLineWidth, kLineHeight}, setup.progressLabel);
  RateLabel.Create(hwnd(), Rect{10, 120, kLineWidth, kLineHeight}, setup.rateLabel);
  TimeLabel.Create(hwnd(), Rect{10, 140, kLineWidth, kLineHeight}, setup.timeLabel);
  TimeLabel.SetVisible(setup.showTime);
  file_.text = setup.fileLabel;
  progress_.text = setup.progressLabel;
  rate_.text = setup.rateLabel;
  time_.text = setup.timeLabel;
  Animation.Create(hwnd(), 10, 0);
  UseClip(kDownloadClip);

  const int row = setup.showTime ? 160 : 140;
  const int w = Button::kDefaultWidth, h = Button::kDefaultHeight;
  CancelButton.Create(hwnd(), Rect{kWidth - w - 10, row, w, h}, setup.cancel);
  CancelButton.OnClick = [this] { CancelClicked(); };
  const int secondLeft = kWidth - 2 * w - 20;
  if (setup.showOpenFolder) {
    OpenFolderButton.Create(hwnd(), Rect{secondLeft, row, w, h}, setup.openFolder);
    OpenFolderButton.SetEnabled(false);
    OpenFolderButton.OnClick = [this] { OpenClicked(openFolder_); };
  }
  if (setup.showOpenFile) {
    int left = setup.showOpenFolder ? secondLeft - (w + 10) : secondLeft;
    OpenFileButton.Create(hwnd(), Rect{left, row, w, h}, setup.openFile);
    OpenFileButton.SetEnabled(false);
    OpenFileButton.OnClick = [this] { OpenClicked(openFile_); };
  }
  Bar.Create(hwnd(), Rect{10, 60, kLineWidth, 12});
  Bar.SetRange(0, 100);
  Bar.SetPosition(0);
}

void ProgressDialog::Present(bool alwaysOnTop) {
  Flush();
  Show();
  if (alwaysOnTop) {
    Rect b = Bounds();
    SetWindowPos(hwnd(), HWND_TOPMOST, b.x, b.y, b.width, b.height, 0);
  }
}

void ProgressDialog::Line::Flush() {
  if (!changed) return;
  changed = false;
  label.SetText(text);
}

void ProgressDialog::Flush() {
  for (Line* line : {&file_, &progress_, &rate_, &time_}) line->Flush();
}

void ProgressDialog::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  SetText(text);
}

void ProgressDialog::SetBarPosition(int position) {
  if (position == barPosition_) return;
  barPosition_ = position;
  Bar.SetPosition(position);
}

void ProgressDialog::UseClip(int resourceId) {
  if (Animation.Clip() == resourceId) return;
  if (Animation.Open(resourceId)) Animation.Play();
}

void ProgressDialog::EndOfRun(bool cancelled, const std::string& openFile, const std::string& openFolder) {
  runEnded_ = true;
  Flush();
  openFile_ = openFile;
  openFolder_ = openFolder;
  CancelButton.SetText("Close");
  Animation.Stop();
  if (!cancelled) {
    OpenFileButton.SetEnabled(true);
    OpenFolderButton.SetEnabled(true);
  }
}

void ProgressDialog::CancelClicked() {
  if (runEnded_) {
    if (auto handler = OnCloseClick) handler();
    Hide();
    Finish();
    return;
  }
  if (auto handler = OnCancelClick) handler();
  Hide();
}

void ProgressDialog::OpenClicked(const std::string& path) {
  ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  Hide();
  Finish();
}

void ProgressDialog::Finish() { PostMessageA(hwnd(), kFinishedMessage, 0, 0); }

LRESULT ProgressDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kFinishedMessage) {
    // The handler may free this dialog: nothing of it is used afterwards.
    if (auto handler = OnFinished) handler();
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace holvex
