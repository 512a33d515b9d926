#pragma once
// The shell's folder picker (SHBrowseForFolderA): a tree of folders under a root, with a
// title text above it.
#include <windows.h>

#include <optional>

#include <shlobj.h>

#include <string>

namespace holvex {

class FolderPicker {
 public:
  std::string Title;
  // The tree's root as a path ("c:\\"); empty, or a path the shell cannot parse: the desktop.
  std::string Root;
  // BIF_* flags; BIF_NEWDIALOGSTYLE needs OLE, which Execute initialises.
  UINT Flags = BIF_RETURNONLYFSDIRS;

  // The chosen folder's path, or nullopt when the user cancelled or chose something that is
  // no file-system folder. While the picker is open no other window of the program takes input.
  std::optional<std::string> Execute(HWND owner);
};

}  // namespace holvex
