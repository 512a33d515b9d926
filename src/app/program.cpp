#include "app/program.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/download_window.h"
#include "app/main_form.h"
#include "app/splash_screen.h"
#include "platform/file_io.h"
#include "queue/add_dialog.h"
#include "queue/import_dialog.h"
#include "queue/save_dialog.h"
#include "settings/general_dialog.h"
#include "settings/proxy_dialog.h"
#include "settings/settings.h"
#include "toolkit/application.h"
#include "update/about_box.h"
#include "update/update_dialog.h"

namespace holvex {

namespace {

constexpr const char* kApplicationTitle = "Holvex 2004";

// Every window of the program, created once in this order and kept until the end, and the
// session the main window shows (made first, so that it goes last).
struct ProgramWindows {
  std::unique_ptr<ProgramSession> session;
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm2> form2;
  std::unique_ptr<TForm3> form3;
  std::unique_ptr<TForm4> form4;
  std::unique_ptr<TForm5> form5;
  std::unique_ptr<TForm6> form6;
  std::unique_ptr<TForm7> form7;
  std::unique_ptr<TForm8> form8;
  std::unique_ptr<TForm9> form9;
};

ProgramWindows CreateWindows(const ProgramOptions& options) {
  ProgramWindows w;
  w.session = std::make_unique<ProgramSession>(SessionOptions{options.baseDir});
  w.form1 = std::make_unique<TForm1>(*w.session, MainFormOptions{});
  w.form2 = std::make_unique<TForm2>(*w.form1);
  w.form3 = std::make_unique<TForm3>(*w.form1);
  w.form4 = std::make_unique<TForm4>(*w.form1);
  w.form5 = std::make_unique<TForm5>(*w.form1);
  w.form6 = std::make_unique<TForm6>(*w.form1);
  w.form7 = std::make_unique<TForm7>(*w.form1);
  w.form8 = std::make_unique<TForm8>(*w.form1);
  w.form9 = std::make_unique<TForm9>();
  w.form1->SetExtraWindow(w.form9.get());
  TForm3* add = w.form3.get();
  TForm4* save = w.form4.get();
  TForm5* import = w.form5.get();
  TForm2* update = w.form2.get();
  TForm6* about = w.form6.get();
  w.form1->showUpdateCheck = [update] { update->ShowModal(); };
  w.form1->showAbout = [about] { about->ShowModal(); };
  TForm7* proxy = w.form7.get();
  TForm8* general = w.form8.get();
  w.form1->showAddDialog = [add](const std::string& url) { add->Execute(url); };
  w.form1->showSaveDialog = [save] { return save->Execute(); };
  w.form1->showProxySettings = [proxy] { proxy->ShowModal(); };
  w.form1->showGeneralSettings = [general] { general->ShowModal(); };
  w.form1->showImportDialog = [import](const std::string& linkFile) { import->Execute(linkFile); };
  return w;
}

bool SplashScreenWanted(const std::string& baseDir) {
  IniDocument ini = SettingsFile(PathInDirectory(baseDir, kSettingsFileName)).Load();
  return ReadYesNo(ini, kGeneralSection, "splashscreen", true);
}

}  // namespace

int RunProgram(const ProgramOptions& options) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                           ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  Application app;
  ProgramWindows windows;
  if (SplashScreenWanted(options.baseDir)) {
    auto splash = std::make_unique<TSplashScreen>();
    // The splash screen is no main form: the first window of the program is.
    app.SetMainForm(nullptr);
    splash->Show();
    app.SetTitle(kApplicationTitle);
    splash->Repaint();
    splash->RunSteps(options.splashStepMilliseconds);
    app.ProcessMessages();
    windows = CreateWindows(options);
    splash->Hide();
    splash.reset();
  } else {
    app.SetTitle(kApplicationTitle);
    windows = CreateWindows(options);
  }
  // Commands that came during start-up and the automatic run are carried out now.
  windows.form1->StartupComplete();
  return app.Run();
}

}  // namespace holvex
