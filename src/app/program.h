#pragma once
// The entry sequence: splash screen, the program's windows in their order, the message loop.
#include <functional>
#include <string>

namespace holvex {

class TSplashScreen;

struct ProgramOptions {
  std::string baseDir;  // the executable's folder
  int splashStepMilliseconds = 850;
};

int RunProgram(const ProgramOptions& options);

}  // namespace holvex
