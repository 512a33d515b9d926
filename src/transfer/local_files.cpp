#include "transfer/local_files.h"

#include "transfer/paths.h"
#include "transfer/transfer_error.h"

namespace holvex {

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeDirectoryPath(std::string directory) {
  if (directory.empty()) throw TransferError("Cannot create directory");
  if (directory.back() == '\\') directory.pop_back();
  if (directory.size() < 3 || IsDirectory(directory)) return true;
  std::string parent = ParentDirectory(directory);
  if (parent == directory) return true;
  // "sub" alone has no parent left to create: only itself.
  if (!parent.empty() && !MakeDirectoryPath(parent)) return false;
  return CreateDirectoryA(directory.c_str(), nullptr) != FALSE;
}

bool TargetFileExists(const std::string& path) {
  if (!IsUsableFileName(UrlFileName(path))) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool OutputFile::Open(const std::string& path) {
  Close();
  if (!IsUsableFileName(UrlFileName(path))) return false;
  UniqueKernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return false;
  path_ = path;
  file_ = std::move(file);
  return true;
}

bool OutputFile::WriteAll(const char* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file_.get(), data, size, &written, nullptr) && written == size;
}

void OutputFile::Close() { file_.reset(); }

void OutputFile::Discard() {
  Close();
  if (!path_.empty()) DeleteFileA(path_.c_str());
}

}  // namespace holvex
