#include "run/saved_file_name.h"

#include "queue/download_address.h"
#include "transfer/paths.h"

namespace holvex {

bool IsPlainFileName(const std::string& name) {
  if (name.size() > 255 || !IsUsableFileName(name)) return false;
  const char last = name.back();
  return last != '.' && last != ' ';
}

std::optional<std::string> SavedFileName(const QueueEntry& entry) {
  if (IsPlainFileName(entry.fileName)) return entry.fileName;
  std::string fromAddress = DownloadFileName(entry.url);
  if (IsPlainFileName(fromAddress)) return fromAddress;
  return std::nullopt;
}

}  // namespace holvex
