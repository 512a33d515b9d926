#include <windows.h>

#include "app/program.h"
#include "platform/file_io.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    holvex::ProgramOptions options;
    options.baseDir = holvex::ExecutableDirectory();
    return holvex::RunProgram(options);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Holvex 2004", MB_OK | MB_ICONERROR);
    return 1;
  }
}
