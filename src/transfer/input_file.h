#pragma once
// The local side of an upload: a disk file read in blocks.
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/handles.h"

namespace holvex {

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Only a regular disk file opens: not a folder, and not a name Windows would turn into a
  // device (reading CON would wait for a keyboard).
  bool Open(const std::string& path);
  std::uint64_t Size() const { return size_; }
  // Up to size bytes; 0 at the end of the file. A failed read raises TransferError.
  DWORD Read(char* buffer, DWORD size);

 private:
  std::string path_;
  UniqueKernelHandle file_;
  std::uint64_t size_ = 0;
};

}  // namespace holvex
