#pragma once
// The local file a transfer reads from start to end: the source of a copy, the body of an
// upload.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/handles.h"

namespace holvex {

class SourceFile {
 public:
  SourceFile() = default;
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  // shareMode: what others may do with the file meanwhile. Only a disk file opens: a device
  // or a pipe could keep a read waiting without end.
  bool Open(const std::string& path, DWORD shareMode);
  std::optional<std::uint64_t> Size() const;
  std::optional<FILETIME> LastWriteTime() const;
  // Reads up to size bytes at the current position; *read 0 means the end.
  bool Read(char* data, DWORD size, DWORD* read);
  void Close() { file_.reset(); }

 private:
  UniqueKernelHandle file_;
};

// Both paths name one existing file: the same volume and file index, however the two are
// spelled (case, relative parts, a short name, another drive letter for the same folder, a
// hard link).
bool SameFileOnDisk(const std::string& a, const std::string& b);

}  // namespace holvex
