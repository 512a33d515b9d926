#pragma once
// The local side of a transfer: folders, the target file and its existence.
#include <windows.h>

#include <string>
#include <string_view>

#include "toolkit/handles.h"

namespace holvex {

// True when the path exists and is a folder.
bool IsDirectory(const std::string& path);

// Creates the folder and its missing parents; true when it exists afterwards. An empty
// name raises TransferError ("Cannot create directory").
bool MakeDirectoryPath(std::string directory);

// An existing regular file (not a folder, not a device) at the path.
bool TargetFileExists(const std::string& path);

// A target file being written: created or truncated on Open, closed by Close or the destructor.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { Close(); }

  // Refuses a file name Windows would turn into a device or another stream, and anything that
  // opens as something other than a disk file.
  bool Open(const std::string& path);
  // Appends the bytes; false when the write fails or takes fewer than all of them.
  bool WriteAll(const char* data, DWORD size);
  bool IsOpen() const { return static_cast<bool>(file_); }
  void Close();
  // Closes and deletes the file.
  void Discard();

 private:
  std::string path_;
  UniqueKernelHandle file_;
};

}  // namespace holvex
