#pragma once
// Restoring the queue at start and saving it, with the log lines the user sees.
#include <functional>
#include <optional>
#include <string>

#include "queue/download_queue.h"

namespace holvex {

struct QueueRestoreHooks {
  std::function<void(const std::string&)> log;          // one log line
  std::function<void(const std::string&)> sectionName;  // each section name, in file order
  std::function<void()> processEvents;                  // after each row and at the end
};

// Appends the entries of the queue file at `path` to `queue`. When the file exists but cannot
// be read (held by another program, too large for memory, a read error), the queue stays empty
// and the system's reason is returned.
std::optional<std::string> RestoreQueue(const std::string& path, DownloadQueue& queue,
                                        const QueueRestoreHooks& hooks);

// Told of each entry as its text is added, in list order: index, count, entry.
using QueueSaveProgress = std::function<void(size_t, size_t, const QueueEntry&)>;

// Removes the finished entries, then writes the rest, replacing the file whole; an empty
// queue deletes the file. Throws FileWriteError when the file cannot be written or deleted;
// the previous file then stays as it was.
void SaveQueue(const std::string& path, DownloadQueue& queue, const QueueSaveProgress& progress = {});

// load.hvq for one run of the program: restored once at start, then saved by the save dialog
// and at the end of a Windows session.
//
// A file that exists but could not be read at start holds a queue the list lacks, so the list
// never replaces it. Each save first reads it again: once it can be read, its entries join the
// list ahead of the others and the whole is written; while it still cannot, the save is refused
// (FileWriteError) and the file stays as it is. A file the user has moved away leaves nothing
// to keep. So the user is never stuck: freeing or moving the file lets the next save through.
class QueueStore {
 public:
  explicit QueueStore(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

  // RestoreQueue, noting a file that could not be read.
  std::optional<std::string> Restore(DownloadQueue& queue, const QueueRestoreHooks& hooks);
  // SaveQueue, after taking in a file that could not be read at start. Throws FileWriteError.
  void Save(DownloadQueue& queue, const QueueSaveProgress& progress = {});
  // A file that could not be read is still kept from being replaced.
  bool KeepsUnreadFile() const { return unread_; }

  // One log line (the entries taken in late are logged).
  std::function<void(const std::string&)> log;

 private:
  void TakeInUnreadFile(DownloadQueue& queue);

  std::string path_;
  bool unread_ = false;
};

}  // namespace holvex
