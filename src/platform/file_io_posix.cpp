#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

namespace holvex {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& path, const std::string& temp, int err) {
  if (!temp.empty()) ::unlink(temp.c_str());
  throw FileWriteError(path, std::strerror(err));
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::string* reason) {
  auto fail = [reason]() -> std::optional<std::string> {
    if (reason) *reason = std::strerror(errno);
    return std::nullopt;
  };
  Fd fd(::open(path.c_str(), O_RDONLY));
  if (fd.get() < 0) return fail();
  std::string data;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) return fail();
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  return data;
}

void WriteFileReplacing(const std::string& path, std::string_view data) {
  const std::string temp = path + ".tmp";
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  if (fd.get() < 0) Fail(path, "", errno);
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd.get(), data.data() + done, data.size() - done);
    if (n <= 0) Fail(path, temp, n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd.get()) != 0 || !fd.Close()) Fail(path, temp, errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) Fail(path, temp, errno);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

std::string ExecutablePath() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}

std::string ExecutableDirectory() {
  std::string exe = ExecutablePath();
  size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

std::string PathInDirectory(const std::string& dir, std::string_view name) {
  return dir + "/" + std::string(name);
}

}  // namespace holvex
