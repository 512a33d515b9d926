// The real holvex.exe during a slow download: the about box is opened from the "?" menu and
// left open for a while, as a user leaves it, then closed; prints how the entry ended and how
// many bytes its file has. Run by scripts/check-held-dialog.sh.
//   held_dialog_check FOLDER HOLD_SECONDS
// FOLDER holds holvex.exe with a queue of one entry and settings whose download folder is
// FOLDER\Downloads.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "support/dialog_answerer.h"
#include "support/main_window_ui.h"
#include "support/process.h"

namespace {

using holvex::test::ProgramProcess;
using holvex::test::WaitUntil;

int Fail(const char* what) {
  std::printf("fail: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: held_dialog_check FOLDER HOLD_SECONDS\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int holdSeconds = std::atoi(argv[2]);
  ProgramProcess program(folder + "\\holvex.exe");
  HWND main = program.WaitForWindow("TForm1", 30000, true);
  if (!main) return Fail("no main window");
  HWND list = holvex::test::FindDescendant(main, WC_LISTVIEWA);
  auto status = [&] { return holvex::test::RemoteListViewText(program, list, 0, 2); };
  holvex::test::MainWindowUi(main).PostClick("Download");
  if (!WaitUntil([&] { return status().find("KB/Sek.") != std::string::npos; }, 30000))
    return Fail("no rate shown");
  Sleep(2000);
  // "?" then Enter: "Informationen", the first item.
  PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, '?');
  HWND menu = nullptr;
  if (!WaitUntil([&] { return (menu = FindWindowA(MAKEINTATOM(0x8000), nullptr)) && IsWindowVisible(menu); },
                 5000))
    return Fail("the menu did not open");
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND about = nullptr;
  if (!WaitUntil([&] { return (about = program.WaitForWindow("TForm6", 100, true)) != nullptr; }, 10000))
    return Fail("no about box");
  const std::string before = status();
  std::printf("about box open at \"%s\"; held for %d s\n", before.c_str(), holdSeconds);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(holdSeconds) * 1000);
  PostMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  PostMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  if (!WaitUntil([&] { return !IsWindowVisible(about); }, 10000)) return Fail("the about box stayed");
  std::printf("about box closed at \"%s\"\n", status().c_str());
  const auto ended = [&] {
    const std::string s = status();
    return s == "Fertig" || s == "Fehler" || s == "Abgebrochen";
  };
  if (!WaitUntil(ended, 600000)) return Fail("the run did not end");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA((folder + "\\Downloads\\treiber.zip").c_str(), GetFileExInfoStandard, &data);
  std::printf("end status \"%s\", file %lu bytes\n", status().c_str(), data.nFileSizeLow);
  auto question = holvex::test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program.id());
  PostMessageA(main, WM_CLOSE, 0, 0);
  question.Result();
  program.WaitForExit(20000);
  return 0;
}
