#pragma once
// The real program as a separate process: a copy of holvex.exe in a test folder (so that its
// files are next to it), started, watched and ended by the test.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/handles.h"

namespace holvex::test {

// Folder of the running test executable (holvex.exe is built beside it).
std::string TestBinaryDirectory();

class ProgramProcess {
 public:
  // Starts `exePath` with its own folder as working directory (and the arguments, if any).
  explicit ProgramProcess(const std::string& exePath, const std::string& arguments = "");
  ~ProgramProcess();  // ends the process if it still runs
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  DWORD id() const { return pid_; }
  // The exit code once ended within `timeoutMs`, else nullopt.
  std::optional<DWORD> WaitForExit(int timeoutMs);
  bool Running() const;
  void Kill();
  // A top-level window of this process with that class, once it exists (visible or not).
  HWND WaitForWindow(const char* className, int timeoutMs, bool mustBeVisible = false) const;

 private:
  UniqueKernelHandle process_;
  DWORD pid_ = 0;
};

// Reading another process's list view: the text buffer must live in that process.
int RemoteListViewRowCount(HWND listView);
std::string RemoteListViewText(const ProgramProcess& process, HWND listView, int row, int column);
// Lines of an edit control (WM_GETTEXT crosses processes by itself).
std::vector<std::string> WindowTextLines(HWND edit);
// Looks every 50 ms until `done` holds or `timeoutMs` have passed; returns done(). For driving
// another process, whose windows cannot be pumped from here.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
// The first descendant of `parent` with that class, at any depth; with `text`, only one showing
// exactly that text.
HWND FindDescendant(HWND parent, const char* className, const std::string* text = nullptr);

}  // namespace holvex::test
