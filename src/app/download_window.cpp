#include "app/download_window.h"

#include <algorithm>
#include <limits>
#include <string>

#include "resource_ids.h"

namespace holvex {

namespace {
constexpr const char* kClip = "Animation2";

FormParams ExtraWindowParams() {
  FormParams p;
  p.className = "TForm9";
  p.caption = "Download";
  p.clientWidth = 337;
  p.clientHeight = 206;
  p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  p.exStyle = WS_EX_TOPMOST;
  return p;
}
}  // namespace

TForm9::TForm9() : Form(ExtraWindowParams()) {
  Animate1.Create(hwnd(), Rect{32, 0, 272, 60});
  Label1.Create(hwnd(), Rect{8, 64, 100, 14}, "Speichern:");
  Label2.Create(hwnd(), Rect{8, 80, 321, 14}, "");
  ProgressBar1.Create(hwnd(), Rect{8, 96, 321, 14}, false);
  Label3.Create(hwnd(), Rect{8, 120, 100, 14}, "Geschätzte Dauer:");
  Label6.Create(hwnd(), Rect{112, 120, 46, 14}, "00:00:00");
  Label9.Create(hwnd(), Rect{160, 120, 169, 14}, "( 0 KB von 0 KB fertig)");
  Label4.Create(hwnd(), Rect{8, 136, 100, 14}, "Download nach:");
  Label7.Create(hwnd(), Rect{112, 136, 217, 14}, "");
  Label5.Create(hwnd(), Rect{8, 152, 100, 14}, "Übertragrungsrate:");
  Label8.Create(hwnd(), Rect{112, 152, 217, 14}, "0 KB/Sek.");
  SpeedButton1.Create(hwnd(), Rect{224, 176, 105, 22}, "Abbrechen", IDI_GLYPH_CANCEL);
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
}

void TForm9::SetIfChanged(Window& w, std::string& shown, const std::string& text) {
  if (shown == text) return;
  shown = text;
  w.SetText(text);
}

void TForm9::BeginEntry(const std::string& fileName, const std::string& source, const std::string& folder) {
  SetIfChanged(*this, caption_, "0 % von " + fileName + " fertiggestellt.");
  SetIfChanged(Label6, remaining_, "00:00:00");
  SetIfChanged(Label8, rate_, "0 KB/Sek.");
  SetIfChanged(Label9, amount_, "( 0 KB von 0 KB fertig )");
  Label7.SetText(folder);
  Label2.SetText(source);
  SetBarBytes(0, 0);
  shownAt_ = 0;
}

void TForm9::ShowProgress(const ProgressTexts& t) {
  // Painting is what this window costs the transfer; four times a second is as often as an eye
  // follows. The last report always shows.
  const DWORD now = GetTickCount();
  const bool last = t.totsize > 0 && t.size >= t.totsize;
  if (!last && shownAt_ != 0 && now - shownAt_ < kRepaintIntervalMs) return;
  shownAt_ = now ? now : 1;
  SetIfChanged(Label9, amount_, t.amount);
  SetBarBytes(t.size, t.totsize);
  SetIfChanged(Label8, rate_, t.rate);
  SetIfChanged(Label6, remaining_, t.remaining);
  SetIfChanged(*this, caption_, t.percent + " % von " + t.fileName + " fertiggestellt.");
}

void TForm9::SetBarBytes(std::int64_t done, std::int64_t total) {
  total = std::max<std::int64_t>(total, 0);
  done = std::clamp<std::int64_t>(done, 0, total);
  int shift = 0;
  while ((total >> shift) > std::numeric_limits<int>::max()) ++shift;
  const int range = static_cast<int>(total >> shift), position = static_cast<int>(done >> shift);
  if (range != barRange_) ProgressBar1.SetRange(0, barRange_ = range);
  if (position != barPosition_) ProgressBar1.SetPosition(barPosition_ = position);
}

void TForm9::ShowOver(const Window& over) {
  CenterOver(over);
  Show();
}

void TForm9::FormActivate() {
  // Decoded when the clip first plays, not at start: many sessions never show this window.
  if (!Animate1.Opened()) Animate1.Open(kClip, GetSysColor(COLOR_BTNFACE));
  Animate1.Play();
}

void TForm9::SpeedButton1Click() {
  if (onCancel) onCancel();
  Close();
}

LRESULT TForm9::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) FormActivate();
  if (msg == WM_SHOWWINDOW && !wp) Animate1.Stop();
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace holvex
