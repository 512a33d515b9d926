#pragma once
// The common open-file dialog.
#include <functional>
#include <string>

#include <windows.h>

namespace holvex {

class OpenDialog {
 public:
  std::string Title;   // empty: the system's own title
  std::string Filter;  // "Name|*.ext|Name|*.*"
  std::string FileName;
  bool NoPlacesBar = false;

  // True when the user chose a file; OnClose runs whenever the dialog closes.
  bool Execute(HWND owner);
  std::function<void()> OnClose;
};

}  // namespace holvex
