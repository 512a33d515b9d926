#pragma once
// Whole-file reading and replacing writes. The header is portable; the implementation is
// Win32 file I/O in the Windows build and POSIX natively.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace holvex {

// A file could not be written; carries the path and the system's reason.
class FileWriteError : public std::runtime_error {
 public:
  FileWriteError(std::string path, std::string reason);
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

bool FileExists(const std::string& path);

// The file's bytes, or nullopt when it is missing or cannot be read (then `reason`, when
// given, holds the system's reason).
std::optional<std::string> ReadFileBytes(const std::string& path, std::string* reason = nullptr);

// Writes a temporary file next to `path` and then replaces `path` with it in one step, so
// that a failed or interrupted write leaves the previous file whole. Throws FileWriteError.
void WriteFileReplacing(const std::string& path, std::string_view data);

// Deletes the file; true when it is gone afterwards.
bool RemoveFile(const std::string& path);

// Folder of the running executable, without a trailing separator.
std::string ExecutableDirectory();
// The running executable's full path.
std::string ExecutablePath();

// dir + separator + name (the platform's separator).
std::string PathInDirectory(const std::string& dir, std::string_view name);

}  // namespace holvex
