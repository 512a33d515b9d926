#include "app/splash_screen.h"

#include "resource_ids.h"
#include "toolkit/application.h"
#include "toolkit/jpeg_bitmap.h"

namespace holvex {

const char* SplashStepText(int step) {
  switch (step) {
    case 1: return "Lade Ansichten...";
    case 2: return "Lade Proxy Einstellungen ...";
    case 3: return "Lade Programm Einstellungen...";
    case 4: return "Konfiguriere Module...";
    case 5: return "Verarbeite Warteschleife...";
    case 7: return "Verbindungstest...";
    case 9: return "Starte Anwendung...";
    default: return nullptr;
  }
}

namespace {
FormParams SplashParams() {
  FormParams p;
  p.className = "TSplashScreen";
  p.clientWidth = 337;
  p.clientHeight = 247;
  p.style = WS_POPUP;
  p.exStyle = WS_EX_TOOLWINDOW;
  p.background = RGB(255, 255, 255);
  return p;
}
}  // namespace

TSplashScreen::TSplashScreen() : Form(SplashParams()) {
  Image1.Create(hwnd(), Rect{8, 0, 320, 200});
  Image1.SetBitmap(BitmapFromJpegResource(IDR_SPLASH_JPEG));
  Label1.Create(hwnd(), Rect{8, 208, 321, 13}, "Lade...");
  ProgressBar1.Create(hwnd(), Rect{8, 222, 321, 14}, true);
  ProgressBar1.SetRange(0, 100);
  ProgressBar1.SetStep(10);
  CenterOnScreen();
}

void TSplashScreen::RunSteps(int stepMilliseconds, const std::function<void(int)>& afterStep) {
  Application& app = Application::Instance();
  for (int step = 1; step <= 10; ++step) {
    if (const char* text = SplashStepText(step)) Label1.SetText(text);
    // The original checks seven step texts, processing events after each check.
    for (int check = 0; check < 7; ++check) app.ProcessMessages();
    ProgressBar1.StepIt();
    Label1.Repaint();
    ProgressBar1.Repaint();
    if (stepMilliseconds > 0) Sleep(static_cast<DWORD>(stepMilliseconds));
    app.ProcessMessages();
    if (afterStep) afterStep(step);
  }
}

}  // namespace holvex
