#include "update/about_box.h"

#include "host/main_window_host.h"
#include "resource_ids.h"
#include "toolkit/jpeg_bitmap.h"
#include "toolkit/label_fonts.h"
#include "update/maker_addresses.h"
#include "update/version_text.h"

namespace holvex {

namespace {
constexpr int kWidth = 320;
constexpr int kLineHeight = 14;

FormParams AboutBoxParams() {
  FormParams p;
  p.className = "TForm6";
  p.caption = "Informationen";
  p.clientWidth = kWidth;
  p.clientHeight = 255;
  p.style = WS_POPUP;
  p.background = RGB(255, 255, 255);
  return p;
}

// Labels as wide as their text (and a pixel or two for italic overhang), so that the contact
// line holds clicks only where its text stands.
int LabelWidth(HFONT font, const std::string& text) { return TextWidth(font, text) + 2; }

void CentreLine(Label& label, HFONT font, int top) {
  const int width = LabelWidth(font, label.Text());
  label.SetBounds(Rect{(kWidth - width) / 2, top, width, kLineHeight});
}
}  // namespace

TForm6::TForm6(MainWindowHost& main) : Form(AboutBoxParams()), main_(main) {
  bold_ = ArialFont(11, true, false);
  italic_ = ArialFont(11, false, true);
  Image1.Create(hwnd(), Rect{0, 0, kWidth, 200});
  Image1.SetBitmap(BitmapFromJpegResource(IDR_ABOUT_JPEG));
  Label2.Create(hwnd(), Rect{}, "Version");
  Label3.Create(hwnd(), Rect{}, ProgramVersionText());
  Label1.Create(hwnd(), Rect{}, "Copyright © 2004 Holvex Software");
  Label4.Create(hwnd(), Rect{}, std::string("Kontakt: ") + kContactAddress, SS_NOTIFY);
  SetLabelFont(Label2, bold_);
  SetLabelFont(Label3, italic_);
  PlaceLabels();
  OnShow = [this] {
    pressed_ = false;
    CenterOver(main_.MainForm());
  };
}

// "Version" and the version text side by side in the middle, the two lines centred below.
void TForm6::PlaceLabels() {
  constexpr int kGap = 4;
  const int headWidth = LabelWidth(bold_.get(), Label2.Text());
  const int versionWidth = LabelWidth(italic_.get(), Label3.Text());
  const int left = (kWidth - headWidth - kGap - versionWidth) / 2;
  Label2.SetBounds(Rect{left, 206, headWidth, kLineHeight});
  Label3.SetBounds(Rect{left + headWidth + kGap, 206, versionWidth, kLineHeight});
  CentreLine(Label1, font(), 222);
  CentreLine(Label4, font(), 237);
}

LRESULT TForm6::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP:
      if (pressed_) {
        pressed_ = false;
        Close();
      }
      return 0;
    default:
      return Form::HandleMessage(msg, wp, lp);
  }
}

}  // namespace holvex
