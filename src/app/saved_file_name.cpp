#include "app/saved_file_name.h"

#include "queue/download_address.h"
#include "transfer/paths.h"

namespace holvex {

namespace {
// Windows drops trailing dots and blanks, so "a.zip." names "a.zip"; and a name the file
// system cannot hold (over 255 characters) is no plain name either.
bool IsPlainFileName(const std::string& name) {
  if (name.size() > 255 || !IsUsableFileName(name)) return false;
  const char last = name.back();
  return last != '.' && last != ' ';
}
}  // namespace

std::optional<std::string> SavedFileName(const QueueEntry& entry) {
  if (IsPlainFileName(entry.fileName)) return entry.fileName;
  std::string fromAddress = DownloadFileName(entry.url);
  if (IsPlainFileName(fromAddress)) return fromAddress;
  return std::nullopt;
}

}  // namespace holvex
