// Takes the real holvex.exe through every window for the pictures in docs/, driving it as a
// user would (menu keys, button clicks, the tray icon). Whenever a window shows what it should,
// it prints "shot NAME LEFT TOP RIGHT BOTTOM" and waits for a line on its input, while
// scripts/screenshots.sh takes the picture; at the end it prints "done", on a failure
// "fail WHAT". The folder holds holvex.exe with its load.hvq, load.ini and links.txt.
//   screenshot_tour FOLDER BASE_URL
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/dialog_answerer.h"
#include "support/process.h"
#include "support/tray_area.h"

namespace holvex {
namespace {

const char* const kMenuClass = MAKEINTATOM(0x8000);

struct TourFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void WaitUntil(const std::function<bool()>& done, int ms, const std::string& what) {
  if (!test::WaitUntil(done, ms)) throw TourFailure(what);
}

class Tour {
 public:
  Tour(const std::string& folder, const std::string& baseUrl)
      : folder_(folder), baseUrl_(baseUrl), program_(folder + "\\holvex.exe") {}

  void Run() {
    StartUp();
    Menus();
    AddAndImport();
    Dialogs();
    DownloadRun();
    Exit();
  }

 private:
  void StartUp() {
    HWND splash = Visible("TSplashScreen", 30000);
    Sleep(3000);  // a few steps into the sequence
    Shot("splash-screen", {splash});
    main_ = Visible("TForm1", 30000);
    if (!program_.WaitForWindow("TForm9", 15000)) throw TourFailure("not every window was created");
    WaitUntil([&] { return !IsWindow(splash); }, 10000, "the splash screen stayed");
    Sleep(500);
    Shot("main-window", {main_});
  }

  void Menus() {
    OpenMenu('d', "n");
    Shot("owner-drawn-menu", WithMenus({main_}));
    CloseMenus();
    OpenMenu('e', "");
    Shot("owner-drawn-menu-settings", WithMenus({main_}));
    CloseMenus();
  }

  void AddAndImport() {
    Click(main_, "Hinzufügen");
    HWND input = Visible("TInputQueryForm", 10000);
    HWND field = test::FindDescendant(input, "Edit");
    const std::string url = baseUrl_ + "/bilder.zip";
    SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()), SMTO_NORMAL, 5000,
                        nullptr);
    PostMessageA(field, EM_SETSEL, url.size(), url.size());  // the caret behind the typed text
    Sleep(300);
    Shot("add-address", {input});
    Click(input, "OK");
    HWND add = Visible("TForm3", 10000);
    Sleep(1200);  // the size query is under way
    Shot("add-dialog", {add});
    WaitHidden(add, 20000);

    auto open = test::DialogAnswerer::OpenFile("Downloadlinks importieren", folder_ + "\\links.txt", 10000,
                                               program_.id());
    OpenMenu('d', "it");
    if (!open.Result().found) throw TourFailure("no file dialog for the import");
    HWND import = Visible("TForm5", 10000);
    Sleep(4500);  // one line imported, one refused, one being checked
    Shot("import-dialog", {import});
    WaitHidden(import, 30000);
  }

  void Dialogs() {
    OpenMenu('d', "s");
    HWND save = Visible("TForm4", 10000);
    Sleep(300);
    Shot("save-dialog", {save});
    WaitHidden(save, 15000);

    ShowAndClose('e', "a", "TForm8", "general-settings", "Schliessen");
    ShowAndClose('e', "p", "TForm7", "proxy-settings", "Schliessen");
    ShowAndClose('?', "a", "TForm2", "update-dialog", "Ende");

    OpenMenu('?', "");
    PostMessageA(OpenMenus().back(), WM_KEYDOWN, VK_RETURN, 0);  // "Informationen", the first item
    HWND about = Visible("TForm6", 10000);
    Sleep(300);
    Shot("about-box", {about});
    PostMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    WaitHidden(about, 10000);
  }

  void DownloadRun() {
    Click(main_, "Download");
    HWND extra = Visible("TForm9", 15000);
    WaitUntil([&] { return Percent(extra) >= 30; }, 60000, "the download made no progress");
    Shot("extra-window", {extra});
    Shot("download-run", {main_, extra});

    std::vector<HWND> icons = test::WaitForTrayIcons(1);
    if (icons.empty()) throw TourFailure("no tray icon");
    RECT r{};
    GetWindowRect(icons.front(), &r);
    SetCursorPos(r.left + 8, r.bottom - 4);
    PostMessageA(icons.front(), WM_RBUTTONUP, 0, 0);
    WaitUntil([&] { return !OpenMenus().empty(); }, 10000, "no tray menu");
    Sleep(300);
    Shot("tray-menu", WithMenus({GetAncestor(icons.front(), GA_ROOT), main_}));
    CloseMenus();

    Click(main_, "Abbrechen");
    WaitUntil([&] { return IsWindowEnabled(Button(main_, "Download")) != FALSE; }, 15000,
              "the run did not end");
  }

  void Exit() {
    auto box = test::DialogAnswerer::MessageBox("Beenden", IDYES, 10000, program_.id());
    PostMessageA(main_, WM_CLOSE, 0, 0);
    if (!box.Result().found) throw TourFailure("no exit question");
    if (!program_.WaitForExit(20000)) throw TourFailure("the program did not end");
  }

  // Opens the main menu's entry with access key `key`, then types `keys` into the open menus.
  void OpenMenu(char key, const std::string& keys) {
    PostMessageA(main_, WM_SYSCOMMAND, SC_KEYMENU, key);
    size_t open = 1;
    WaitUntil([&] { return OpenMenus().size() == open; }, 5000, std::string("menu ") + key + " did not open");
    for (char k : keys) {
      PostMessageA(OpenMenus().back(), WM_CHAR, static_cast<WPARAM>(k), 0);
      WaitUntil([&] { return OpenMenus().size() != open; }, 5000,
                std::string("menu key ") + k + " did nothing");
      open = OpenMenus().size();
    }
    Sleep(300);
  }

  void CloseMenus() {
    for (int i = 0; i < 10 && !OpenMenus().empty(); ++i) {
      PostMessageA(OpenMenus().back(), WM_KEYDOWN, VK_ESCAPE, 0);
      Sleep(150);
    }
    // Esc leaves the menu bar selected: one more ends the menu mode.
    PostMessageA(main_, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(200);
  }

  void ShowAndClose(char menu, const std::string& keys, const char* className, const std::string& shot,
                    const std::string& closeButton) {
    OpenMenu(menu, keys);
    HWND form = Visible(className, 10000);
    Sleep(300);
    Shot(shot, {form});
    Click(form, closeButton);
    WaitHidden(form, 10000);
  }

  // The visible menu windows of the program, the most recently opened last.
  std::vector<HWND> OpenMenus() const {
    std::vector<HWND> menus;
    for (HWND w = FindWindowExA(nullptr, nullptr, kMenuClass, nullptr); w;
         w = FindWindowExA(nullptr, w, kMenuClass, nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == program_.id() && IsWindowVisible(w)) menus.push_back(w);
    }
    std::reverse(menus.begin(), menus.end());  // FindWindowEx walks from the top of the Z order
    return menus;
  }

  std::vector<HWND> WithMenus(std::vector<HWND> windows) const {
    for (HWND m : OpenMenus()) windows.push_back(m);
    return windows;
  }

  HWND Visible(const char* className, int ms) const {
    HWND w = program_.WaitForWindow(className, ms, true);
    if (!w) throw TourFailure(std::string(className) + " did not show");
    return w;
  }

  static void WaitHidden(HWND w, int ms) {
    WaitUntil([&] { return !IsWindowVisible(w); }, ms, "a window did not close");
  }

  static HWND Button(HWND parent, const std::string& caption) {
    for (HWND c = FindWindowExA(parent, nullptr, "Button", nullptr); c;
         c = FindWindowExA(parent, c, "Button", nullptr)) {
      char text[128] = {};
      GetWindowTextA(c, text, sizeof text);
      if (caption == text) return c;
    }
    throw TourFailure("no button \"" + caption + "\"");
  }

  static void Click(HWND parent, const std::string& caption) {
    PostMessageA(Button(parent, caption), BM_CLICK, 0, 0);
  }

  // The extra window's caption starts with the percentage done.
  static int Percent(HWND extra) {
    char caption[256] = {};
    GetWindowTextA(extra, caption, sizeof caption);
    return std::atoi(caption);
  }

  // Hands the rectangle around `windows` to the script and waits until it has the picture.
  static void Shot(const std::string& name, const std::vector<HWND>& windows) {
    RECT all{};
    for (HWND w : windows) {
      RECT r{};
      GetWindowRect(w, &r);
      UnionRect(&all, &all, &r);
    }
    all.left = std::max(all.left, 0L);
    all.top = std::max(all.top, 0L);
    all.right = std::min(all.right, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN)));
    all.bottom = std::min(all.bottom, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN)));
    std::printf("shot %s %ld %ld %ld %ld\n", name.c_str(), all.left, all.top, all.right, all.bottom);
    std::fflush(stdout);
    std::string answer;
    if (!std::getline(std::cin, answer)) throw TourFailure("no answer to the shot " + name);
  }

  std::string folder_;
  std::string baseUrl_;
  test::ProgramProcess program_;
  HWND main_ = nullptr;
};

}  // namespace
}  // namespace holvex

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshot_tour FOLDER BASE_URL\n");
    return 2;
  }
  try {
    holvex::Tour(argv[1], argv[2]).Run();
  } catch (const std::exception& e) {
    std::printf("fail %s\n", e.what());
    std::fflush(stdout);
    return 1;
  }
  std::printf("done\n");
  std::fflush(stdout);
  return 0;
}
