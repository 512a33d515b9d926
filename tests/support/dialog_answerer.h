#pragma once
// Answers a modal window the way a user would, from a second thread while the test's own
// thread sits in the window's modal loop: waits for the window by class and caption, notes
// its text and position, types into its field and presses a button.
#include <windows.h>

#include <functional>
#include <string>
#include <memory>
#include <thread>

namespace holvex::test {

struct SeenDialog {
  bool found = false;
  std::string text;  // a message box's message
  RECT rect{};
};

// Only windows of one process are answered: this one's, or that of the pid given (another
// program's), since test programs running side by side see each other's windows.
class DialogAnswerer {
 public:
  // Message boxes: class "#32770"; `button` is the id (IDOK, IDYES, IDNO, ...).
  static DialogAnswerer MessageBox(const std::string& caption, int button, int timeoutMs = 10000, DWORD pid = 0);
  // Any window of ours: types `fieldText` into its first edit field, then clicks the
  // button captioned `buttonCaption`.
  static DialogAnswerer Form(const char* className, const std::string& caption, const std::string& fieldText,
                             const std::string& buttonCaption, int timeoutMs = 10000, DWORD pid = 0);
  // The common open-file dialog: types the path into its file-name field and presses Open
  // (or Cancel when `path` is empty).
  static DialogAnswerer OpenFile(const std::string& title, const std::string& path, int timeoutMs = 10000,
                                 DWORD pid = 0);
  // The shell's folder picker, found by the title text above its tree: `look` sees it first,
  // then Cancel is pressed, or, with `chooseRoot`, the tree's root is selected and OK pressed.
  static DialogAnswerer FolderPicker(const std::string& title, bool chooseRoot,
                                     std::function<void(HWND)> look = nullptr, int timeoutMs = 10000);
  DialogAnswerer(DialogAnswerer&&) = default;
  ~DialogAnswerer();

  // Waits for the thread; what it saw.
  SeenDialog Result();

 private:
  DialogAnswerer() = default;
  // Waits for the window (a "#32770" dialog when className is empty), notes where it stands,
  // then lets `answer` read and press what it needs.
  static DialogAnswerer Answer(std::string className, std::string caption, int timeoutMs, DWORD pid,
                               std::function<void(HWND, SeenDialog&)> answer);
  std::thread thread_;
  std::shared_ptr<SeenDialog> seen_ = std::make_shared<SeenDialog>();
};

// True when a window of this process with that class and caption appears within `ms`.
bool WindowAppears(const char* className, const std::string& caption, int ms);

}  // namespace holvex::test
