#pragma once
// The two sets of settings the save driver writes in turn (shared by the driver and the
// crash-safety test, which must tell each whole file from a mix).
#include <string>

#include "settings/settings.h"

namespace holvex::test {

inline GeneralSettings CrashTestGeneral(int which) {
  GeneralSettings s;
  s.playwav = which == 0;
  s.status = which != 0;
  s.systemtray = which == 0;
  s.splashscreen = false;
  s.downloadfolder = which == 0 ? "C:\\Downloads\\erste" : "D:\\Ablage\\zweite\\tiefer";
  // Long enough that a write takes a while.
  s.wavfile = std::string(which == 0 ? 3000 : 2000, which == 0 ? 'a' : 'b') + ".wav";
  return s;
}

inline ProxySettings CrashTestProxy(int which) {
  return which == 0 ? ProxySettings{"proxy.eins", "8080", "anna", "geheim"}
                    : ProxySettings{"proxy.zwei.example", "3128", "", ""};
}

}  // namespace holvex::test
