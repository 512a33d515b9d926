#include "toolkit/open_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace holvex {

bool OpenDialog::Execute(HWND owner) {
  std::string filter = Filter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.append(2, '\0');
  std::vector<char> file(32768, '\0');
  FileName.copy(file.data(), std::min(FileName.size(), file.size() - 1));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();  // none: the system's own title
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  ofn.FlagsEx = NoPlacesBar ? OFN_EX_NOPLACESBAR : 0;
  bool chosen = GetOpenFileNameA(&ofn) != 0;
  // Cancel keeps the name of the last choice, as the dialog showed it.
  if (chosen) FileName = file.data();
  if (OnClose) OnClose();
  return chosen;
}

}  // namespace holvex
