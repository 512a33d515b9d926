#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/file_io.h"

namespace fs = std::filesystem;

namespace holvex::test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / ("holvex-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::File(std::string_view name) const { return PathInDirectory(path_, name); }

void TempDir::Write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + File(name));
}

std::string TempDir::Read(std::string_view name) const {
  return ReadFileBytes(File(name)).value_or(std::string());
}

bool TempDir::Exists(std::string_view name) const { return FileExists(File(name)); }

}  // namespace holvex::test
