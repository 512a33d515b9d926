#include <windows.h>

#include <algorithm>

#include "platform/file_io.h"
#include "platform/system_error_text.h"

namespace holvex {

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (valid()) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool Close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

[[noreturn]] void ThrowLastError(const std::string& path) {
  throw FileWriteError(path, SystemErrorText(GetLastError()));
}

}  // namespace

bool FileExists(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::string* reason) {
  auto fail = [reason](DWORD code) -> std::optional<std::string> {
    if (reason) *reason = SystemErrorText(code);
    return std::nullopt;
  };
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return fail(GetLastError());
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return fail(GetLastError());
  if (size.QuadPart > 0x7fffffff) return fail(ERROR_NOT_ENOUGH_MEMORY);
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < data.size()) {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
    if (!ReadFile(file.get(), data.data() + done, want, &got, nullptr)) return fail(GetLastError());
    if (got == 0) break;
    done += got;
  }
  data.resize(done);
  return data;
}

void WriteFileReplacing(const std::string& path, std::string_view data) {
  const std::string temp = path + ".tmp";
  {
    FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) ThrowLastError(path);
    size_t done = 0;
    while (done < data.size()) {
      DWORD wrote = 0;
      DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
      if (!WriteFile(file.get(), data.data() + done, want, &wrote, nullptr) || wrote == 0) {
        DWORD err = GetLastError();
        file.Close();
        DeleteFileA(temp.c_str());
        throw FileWriteError(path, SystemErrorText(err));
      }
      done += wrote;
    }
    if (!FlushFileBuffers(file.get()) || !file.Close()) {
      DWORD err = GetLastError();
      DeleteFileA(temp.c_str());
      throw FileWriteError(path, SystemErrorText(err));
    }
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD err = GetLastError();
    DeleteFileA(temp.c_str());
    throw FileWriteError(path, SystemErrorText(err));
  }
}

bool RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0 || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string ExecutablePath() {
  std::string buffer(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableDirectory() {
  std::string path = ExecutablePath();
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string PathInDirectory(const std::string& dir, std::string_view name) {
  return dir + "\\" + std::string(name);
}

}  // namespace holvex
