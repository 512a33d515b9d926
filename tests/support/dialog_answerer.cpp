#include "support/dialog_answerer.h"

#include <commctrl.h>

#include <memory>

#include "support/process.h"

namespace holvex::test {

namespace {

const char* const kDialogClass = MAKEINTATOM(0x8002);

// Only windows of the given process count: test programs running side by side under one
// wineserver see each other's windows. FindWindowEx compares captions without sending
// messages, so a window whose thread waits for us cannot block the search.
HWND WaitForWindow(const char* className, const std::string& caption, int timeoutMs, DWORD pid) {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    for (HWND w = FindWindowExA(nullptr, nullptr, className, caption.c_str()); w;
         w = FindWindowExA(nullptr, w, className, caption.c_str())) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid && IsWindowVisible(w)) return w;
    }
    if (static_cast<int>(end - GetTickCount()) <= 0) return nullptr;
    Sleep(20);
  }
}

// Waits until the window stops moving (the centring step runs just after it appears).
RECT SettledRect(HWND w) {
  RECT last{}, now{};
  GetWindowRect(w, &last);
  for (int i = 0; i < 25; ++i) {
    Sleep(40);
    GetWindowRect(w, &now);
    if (EqualRect(&now, &last) && i >= 3) break;
    last = now;
  }
  return now;
}

std::string LongestStaticText(HWND box) {
  std::string best;
  for (HWND c = FindWindowExA(box, nullptr, "Static", nullptr); c;
       c = FindWindowExA(box, c, "Static", nullptr)) {
    char buf[2048] = {};
    GetWindowTextA(c, buf, sizeof buf);
    if (std::string(buf).size() > best.size()) best = buf;
  }
  return best;
}

HWND ChildWithText(HWND parent, const char* className, const std::string& text) {
  for (HWND c = FindWindowExA(parent, nullptr, className, nullptr); c;
       c = FindWindowExA(parent, c, className, nullptr)) {
    char buf[256] = {};
    GetWindowTextA(c, buf, sizeof buf);
    if (text == buf) return c;
  }
  return nullptr;
}

// A visible dialog of this process that shows `text` in one of its static texts.
HWND WaitForDialogShowing(const std::string& text, int timeoutMs) {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    for (HWND w = FindWindowExA(nullptr, nullptr, kDialogClass, nullptr); w;
         w = FindWindowExA(nullptr, w, kDialogClass, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == GetCurrentProcessId() && IsWindowVisible(w) && FindDescendant(w, "Static", &text))
        return w;
    }
    if (static_cast<int>(end - GetTickCount()) <= 0) return nullptr;
    Sleep(20);
  }
}

}  // namespace

DialogAnswerer DialogAnswerer::Answer(std::string className, std::string caption, int timeoutMs, DWORD pid,
                                      std::function<void(HWND, SeenDialog&)> answer) {
  DialogAnswerer a;
  if (pid == 0) pid = GetCurrentProcessId();
  a.thread_ = std::thread([seen = a.seen_, className, caption, timeoutMs, answer, pid] {
    HWND w = WaitForWindow(className.empty() ? kDialogClass : className.c_str(), caption, timeoutMs, pid);
    if (!w) return;
    seen->found = true;
    seen->rect = SettledRect(w);
    answer(w, *seen);
  });
  return a;
}

DialogAnswerer DialogAnswerer::MessageBox(const std::string& caption, int button, int timeoutMs, DWORD pid) {
  return Answer("", caption, timeoutMs, pid, [button](HWND box, SeenDialog& seen) {
    seen.text = LongestStaticText(box);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  });
}

DialogAnswerer DialogAnswerer::Form(const char* className, const std::string& caption,
                                    const std::string& fieldText, const std::string& buttonCaption,
                                    int timeoutMs, DWORD pid) {
  return Answer(className, caption, timeoutMs, pid, [fieldText, buttonCaption](HWND form, SeenDialog&) {
    if (HWND edit = FindWindowExA(form, nullptr, "Edit", nullptr))
      SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fieldText.c_str()));
    if (HWND b = ChildWithText(form, "Button", buttonCaption)) SendMessageA(b, BM_CLICK, 0, 0);
  });
}

DialogAnswerer DialogAnswerer::OpenFile(const std::string& title, const std::string& path, int timeoutMs,
                                        DWORD pid) {
  return Answer("", title, timeoutMs, pid, [path](HWND dlg, SeenDialog&) {
    if (path.empty()) {
      PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    // The file-name field is the combo box cmb13 (0x47c) or, in older dialogs, edt1 (0x480).
    HWND field = GetDlgItem(dlg, 0x47c);
    if (!field) field = GetDlgItem(dlg, 0x480);
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
  });
}

DialogAnswerer DialogAnswerer::FolderPicker(const std::string& title, bool chooseRoot,
                                            std::function<void(HWND)> look, int timeoutMs) {
  DialogAnswerer a;
  a.thread_ = std::thread([seen = a.seen_, title, chooseRoot, look, timeoutMs] {
    HWND picker = WaitForDialogShowing(title, timeoutMs);
    if (!picker) return;
    seen->found = true;
    seen->rect = SettledRect(picker);
    if (look) look(picker);
    if (!chooseRoot) {
      PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    HWND tree = FindDescendant(picker, WC_TREEVIEWA);
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(picker, IDOK)));
  });
  return a;
}

DialogAnswerer::~DialogAnswerer() {
  if (thread_.joinable()) thread_.join();
}

SeenDialog DialogAnswerer::Result() {
  if (thread_.joinable()) thread_.join();
  return *seen_;
}

bool WindowAppears(const char* className, const std::string& caption, int ms) {
  return WaitForWindow(className ? className : kDialogClass, caption, ms, GetCurrentProcessId()) != nullptr;
}

}  // namespace holvex::test
