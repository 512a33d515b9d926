// Saves load.ini again and again as the settings dialogs save it, the two sets in turn, until
// it is ended; the crash-safety test ends it at random moments.
//   settings_save_driver INI_PATH READY_EVENT
#include <windows.h>

#include "app/crash_settings.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const holvex::SettingsFile file(argv[1]);
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  for (unsigned long i = 0;; ++i) {
    const int which = static_cast<int>(i % 2);
    holvex::WriteGeneralSettings(file, holvex::test::CrashTestGeneral(which));
    holvex::WriteProxySettings(file, holvex::test::CrashTestProxy(which));
    if (i == 0 && ready) SetEvent(ready);
  }
}
