#include "update/update_dialog.h"

#include <exception>

#include "host/main_window_host.h"
#include "net/http_client.h"
#include "resource_ids.h"
#include "toolkit/application.h"
#include "toolkit/label_fonts.h"
#include "update/homepage.h"
#include "update/maker_addresses.h"
#include "update/update_query.h"
#include "update/version_text.h"

namespace holvex {

namespace {
constexpr const char* kResultCaption = "Ergebnis";
constexpr const char* kNoNewerVersion = "Es ist keine neuere Version von Holvex 2004 verfügbar.";
constexpr const char* kNewerVersion =
    "Es ist eine neuere Version von Holvex 2004 verfügbar.\n\r\n\r"
    "Klicken Sie auf OK um direkt zur offiziellen Homepage zu wechseln.";
constexpr const char* kQueryFailed = "Während der Prüfung ist ein Fehler aufgereten.";

FormParams UpdateDialogParams() {
  FormParams p;
  p.className = "TForm2";
  p.caption = "Update";
  p.clientWidth = 238;
  p.clientHeight = 95;
  p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  p.exStyle = WS_EX_TOOLWINDOW;
  return p;
}
}  // namespace

TForm2::TForm2(MainWindowHost& main) : Form(UpdateDialogParams()), main_(main) {
  heading_ = ArialFont(21, true, false);
  bold_ = ArialFont(11, true, false);
  Animate1.Create(hwnd(), 8, 8);
  Animate1.Open(IDR_UPDATE_CLIP);
  Label1.Create(hwnd(), Rect{64, 8, 168, 24}, "Update Prüfung");
  Label2.Create(hwnd(), Rect{64, 40, 48, 14}, "Version:");
  Label3.Create(hwnd(), Rect{114, 40, 118, 14}, ProgramVersionText());
  SetLabelFont(Label1, heading_);
  SetLabelFont(Label2, bold_);
  SpeedButton1.Create(hwnd(), Rect{8, 64, 107, 23}, "Suchen", IDI_GLYPH_DOWNLOAD);
  SpeedButton2.Create(hwnd(), Rect{123, 64, 107, 23}, "Ende", IDI_GLYPH_CANCEL);
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  openHomepage = [this] { OpenHomepage(main_.MainForm().hwnd()); };
  OnShow = [this] { CenterOver(main_.MainForm()); };
  // A hidden dialog has nothing to show; the next opening starts the clip again.
  OnClose = [this] { Animate1.Stop(); };
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) FormActivate();
  return Form::HandleMessage(msg, wp, lp);
}

void TForm2::FormActivate() {
  // Coming back from a message box must not restart a clip that runs.
  if (!Animate1.Playing()) Animate1.Play();
}

void TForm2::SpeedButton1Click() {
  SpeedButton1.SetEnabled(false);
  Application::Instance().ProcessMessages();
  std::string answer;
  try {
    answer = main_.HttpClient().FetchText(UpdateQueryUrl(kUpdateHost, Label3.Text()));
  } catch (const std::exception&) {
    ReportFailure();
    return;
  }
  switch (ReadUpdateAnswer(answer)) {
    case UpdateAnswer::kCurrent:
      SpeedButton1.SetEnabled(true);
      main_.AddLogLine("Prüfung erfolglos... \"Update suchen\"");
      main_.MainForm().ShowMessageBox(kNoNewerVersion, kResultCaption, MB_OK | MB_ICONINFORMATION);
      break;
    case UpdateAnswer::kNewer:
      SpeedButton1.SetEnabled(true);
      main_.AddLogLine("Prüfung erfolgreich... \"Update suchen\"");
      if (main_.MainForm().ShowMessageBox(kNewerVersion, kResultCaption, MB_OKCANCEL | MB_ICONINFORMATION) ==
              IDOK &&
          openHomepage)
        openHomepage();
      Animate1.Stop();
      break;
    case UpdateAnswer::kUnknown:
      SpeedButton1.SetEnabled(true);
      Animate1.Stop();
      break;
  }
}

// No connection, a refused request, an error status or a redirect: the user hears of it and
// the dialog closes.
void TForm2::ReportFailure() {
  main_.AddLogLine("Prüfung fehlerhaft... \"Update suchen\"");
  main_.MainForm().ShowMessageBox(kQueryFailed, kResultCaption, MB_OK | MB_ICONINFORMATION);
  SpeedButton1.SetEnabled(true);
  Close();
}

void TForm2::SpeedButton2Click() {
  Animate1.Stop();
  Application::Instance().ProcessMessages();
  Sleep(1000);
  Close();
}

}  // namespace holvex
