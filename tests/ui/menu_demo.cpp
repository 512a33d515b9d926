// The main window with its menu open, for screenshots: `menu_demo KEYS` presses Alt and the
// first key, then the others (so "dn" opens "&Datei" and its "&Neu"), checks "Mit Windows
// &starten", and ends after about 16 seconds.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "app/main_form.h"
#include "support/gui.h"
#include "support/temp_dir.h"
#include "toolkit/application.h"
#include "typing.h"

int main(int argc, char** argv) {
  using namespace holvex;
  test::TestApplication();
  test::TempDir dir;
  dir.Write("load.hvq",
            "[setup.exe]\r\nsize=1,50 MB\r\nstatus=Wartend\r\nurl=http://example.org/setup.exe\r\n");
  ProgramSession session({dir.path()});
  TForm1 form(session, MainFormOptions{test::UniqueName("holvex-menu-demo")});
  // "Einstellungen", "Mit Windows &starten": shown checked without touching the Run key.
  CheckMenuItem(GetSubMenu(GetMenu(form.hwnd()), 1), 3, MF_BYPOSITION | MF_CHECKED);
  form.StartupComplete();
  form.Show();
  bool front = test::PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }, 10000);
  std::printf("window shown%s\n", front ? "" : ", but not in front");
  std::fflush(stdout);
  test::PumpFor(500);
  // The menu stays open for 15 seconds; then Esc closes it and the demo ends.
  std::string keys = argc > 1 ? argv[1] : "";
  std::thread typer([keys] {
    test::TypeKeys(keys, 300);
    Sleep(15000);
    test::CloseMenus();
  });
  test::PumpFor(16000);
  typer.join();
  return 0;
}
