#include "support/process.h"

#include <commctrl.h>

#include <stdexcept>

namespace holvex::test {

std::string TestBinaryDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/"));
}

ProgramProcess::ProgramProcess(const std::string& exePath, const std::string& arguments) {
  std::string dir = exePath.substr(0, exePath.find_last_of("\\/"));
  std::string cmd = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exePath.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                      &pi))
    throw std::runtime_error("cannot start " + exePath);
  CloseHandle(pi.hThread);
  process_.reset(pi.hProcess);
  pid_ = pi.dwProcessId;
}

ProgramProcess::~ProgramProcess() { Kill(); }

std::optional<DWORD> ProgramProcess::WaitForExit(int timeoutMs) {
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool ProgramProcess::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

void ProgramProcess::Kill() {
  if (process_ && Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

namespace {
struct WindowSearch {
  DWORD pid;
  const char* className;
  bool mustBeVisible;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[128] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->pid && lstrcmpA(cls, s->className) == 0 && (!s->mustBeVisible || IsWindowVisible(hwnd))) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND ProgramProcess::WaitForWindow(const char* className, int timeoutMs, bool mustBeVisible) const {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    WindowSearch s{pid_, className, mustBeVisible};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (static_cast<int>(end - GetTickCount()) <= 0 || !Running()) return nullptr;
    Sleep(20);
  }
}

int RemoteListViewRowCount(HWND listView) {
  return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string RemoteListViewText(const ProgramProcess& process, HWND listView, int row, int column) {
  UniqueKernelHandle target(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process.id()));
  if (!target) return {};
  constexpr SIZE_T kText = 4096;
  char* remote = static_cast<char*>(
      VirtualAllocEx(target.get(), nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = remote + sizeof(LVITEMA);
  item.cchTextMax = kText;
  WriteProcessMemory(target.get(), remote, &item, sizeof item, nullptr);
  SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
  std::string text(kText, '\0');
  ReadProcessMemory(target.get(), remote + sizeof(LVITEMA), text.data(), kText, nullptr);
  VirtualFreeEx(target.get(), remote, 0, MEM_RELEASE);
  text.resize(text.find('\0'));
  return text;
}

std::vector<std::string> WindowTextLines(HWND edit) {
  LRESULT n = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

namespace {
struct DescendantSearch {
  const char* className;
  const std::string* text;
  HWND found = nullptr;
};
BOOL CALLBACK MatchDescendant(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<DescendantSearch*>(lp);
  char cls[128] = {}, text[512] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpiA(cls, s->className) != 0) return TRUE;
  if (s->text) {
    GetWindowTextA(hwnd, text, sizeof text);
    if (*s->text != text) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}
}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  for (const DWORD start = GetTickCount(); !done(); Sleep(50))
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return done();
  return true;
}

HWND FindDescendant(HWND parent, const char* className, const std::string* text) {
  DescendantSearch s{className, text};
  EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace holvex::test
