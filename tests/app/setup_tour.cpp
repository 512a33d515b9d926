// Takes the setup program and its uninstaller through their pages for the pictures in docs/,
// clicking as a user would. Speaks the protocol of screenshot_tour.cpp: "shot NAME LEFT TOP
// RIGHT BOTTOM", then it waits for a line on its input; "done" at the end, "fail WHAT" on a
// failure.
//   setup_tour SETUP_EXE
#include <windows.h>

#include <functional>
#include <iostream>

#include <shlobj.h>

#include <stdexcept>
#include <string>

#include "platform/file_io.h"
#include "support/process.h"

namespace holvex {
namespace {

constexpr const char* kSetupCaption = "Installation von Holvex 2004";
constexpr const char* kUninstallCaption = "Deinstallation von Holvex 2004";

struct TourFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void WaitUntil(const std::function<bool()>& done, int ms, const std::string& what) {
  if (!test::WaitUntil(done, ms)) throw TourFailure(what);
}

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// A visible dialog whose caption starts with that text, of any process: the uninstaller runs
// from a copy of itself, and its caption ends with a blank.
HWND FindDialog(const std::string& caption, HWND except = nullptr) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32770", nullptr))
    if (w != except && IsWindowVisible(w) && Text(w).rfind(caption, 0) == 0) return w;
  return nullptr;
}

HWND WaitForDialog(const std::string& caption, HWND except = nullptr) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindDialog(caption, except)) != nullptr; }, 30000, "no window " + caption);
  return found;
}

// The page is there once the main button reads as it does on that page.
void WaitForPage(HWND dialog, const std::string& buttonText) {
  WaitUntil([&] { return Text(GetDlgItem(dialog, IDOK)) == buttonText; }, 30000,
            "no page with " + buttonText);
  Sleep(700);  // painted
}

void Click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Shot(const std::string& name, RECT r) {
  std::cout << "shot " << name << " " << r.left << " " << r.top << " " << r.right << " " << r.bottom
            << std::endl;
  std::string answer;
  if (!std::getline(std::cin, answer)) throw TourFailure("no answer to " + name);
}

RECT Bounds(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

struct ChildSearch {
  std::string text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM p) {
  auto* search = reinterpret_cast<ChildSearch*>(p);
  if (Text(child) != search->text) return TRUE;
  search->found = child;
  return FALSE;
}

HWND FindChildByText(HWND parent, const std::string& text) {
  ChildSearch search{text};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Install(const std::string& setupExe) {
  test::ProgramProcess setup(setupExe);
  HWND dialog = WaitForDialog(kSetupCaption);
  WaitForPage(dialog, "&Weiter >");
  Shot("setup-welcome", Bounds(dialog));
  Click(dialog, IDOK);
  WaitForPage(dialog, "&Annehmen");
  Shot("setup-licence", Bounds(dialog));
  Click(dialog, IDOK);
  WaitForPage(dialog, "&Installieren");
  Shot("setup-directory", Bounds(dialog));
  Click(dialog, IDOK);
  WaitForPage(dialog, "&Fertigstellen");
  Shot("setup-finish", Bounds(dialog));
  // Not started now: the tour goes on to the uninstaller.
  if (HWND run = FindChildByText(dialog, "Holvex 2004 ausführen"))
    SendMessageA(run, BM_SETCHECK, BST_UNCHECKED, 0);
  Click(dialog, IDOK);
  if (!setup.WaitForExit(30000)) throw TourFailure("the setup program did not end");
}

void Uninstall(const std::string& folder) {
  // A queue in the folder, so that the uninstaller asks about it.
  WriteFileReplacing(folder + "\\load.hvq",
                     "[setup.exe]\r\nsize=4,77 MB\r\nstatus=Wartend\r\nurl=http://h/setup.exe\r\n\r\n");
  test::ProgramProcess uninstaller(folder + "\\uninstall.exe");
  HWND dialog = WaitForDialog(kUninstallCaption);
  WaitForPage(dialog, "&Deinstallieren");
  Shot("uninstall-confirm", Bounds(dialog));
  Click(dialog, IDOK);
  HWND box = WaitForDialog(kUninstallCaption, dialog);
  Sleep(700);
  RECT both = Bounds(dialog), inner = Bounds(box);
  UnionRect(&both, &both, &inner);
  Shot("uninstall-question", both);
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  WaitForPage(dialog, "&Beenden");
  Click(dialog, IDOK);
}

}  // namespace
}  // namespace holvex

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: setup_tour SETUP_EXE\n";
    return 2;
  }
  try {
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    holvex::Install(argv[1]);
    holvex::Uninstall(std::string(local) + "\\Programs\\Holvex 2004");
    std::cout << "done" << std::endl;
    return 0;
  } catch (const std::exception& e) {
    std::cout << "fail " << e.what() << std::endl;
    return 1;
  }
}
