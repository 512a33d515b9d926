#include "transfer/input_file.h"

#include "transfer/paths.h"
#include "transfer/transfer_error.h"

namespace holvex {

bool InputFile::Open(const std::string& path) {
  file_.reset();
  if (!IsUsableFileName(UrlFileName(path))) return false;
  UniqueKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  LARGE_INTEGER size{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) return false;
  path_ = path;
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  file_ = std::move(file);
  return true;
}

DWORD InputFile::Read(char* buffer, DWORD size) {
  DWORD read = 0;
  if (!ReadFile(file_.get(), buffer, size, &read, nullptr))
    throw TransferError("Error reading file " + path_);
  return read;
}

}  // namespace holvex
