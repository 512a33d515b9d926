#include "transfer/source_file.h"

namespace holvex {

namespace {

UniqueKernelHandle OpenExisting(const std::string& path, DWORD access, DWORD shareMode, DWORD flags) {
  HANDLE h = CreateFileA(path.c_str(), access, shareMode, nullptr, OPEN_EXISTING, flags, nullptr);
  return UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct FileIdentity {
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  // Access 0 asks for the attributes alone: it works while the file is open elsewhere, and for
  // a folder too.
  UniqueKernelHandle file = OpenExisting(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  // A file system without file indexes says 0: nothing to compare.
  if (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace

bool SourceFile::Open(const std::string& path, DWORD shareMode) {
  Close();
  UniqueKernelHandle file = OpenExisting(path, GENERIC_READ, shareMode, FILE_FLAG_SEQUENTIAL_SCAN);
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
  file_ = std::move(file);
  return true;
}

std::optional<std::uint64_t> SourceFile::Size() const {
  LARGE_INTEGER size{};
  if (!file_ || !GetFileSizeEx(file_.get(), &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<FILETIME> SourceFile::LastWriteTime() const {
  FILETIME written{};
  if (!file_ || !GetFileTime(file_.get(), nullptr, nullptr, &written)) return std::nullopt;
  return written;
}

bool SourceFile::Read(char* data, DWORD size, DWORD* read) {
  *read = 0;
  return file_ && ReadFile(file_.get(), data, size, read, nullptr) != FALSE;
}

bool SameFileOnDisk(const std::string& a, const std::string& b) {
  std::optional<FileIdentity> first = IdentityOf(a);
  return first && first == IdentityOf(b);
}

}  // namespace holvex
