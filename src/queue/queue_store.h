#pragma once
// Restoring the queue at start and saving it, with the log lines the user sees.
#include <functional>
#include <string>

#include "queue/download_queue.h"

namespace holvex {

struct QueueRestoreHooks {
  std::function<void(const std::string&)> log;          // one log line
  std::function<void(const std::string&)> sectionName;  // each section name, in file order
  std::function<void()> processEvents;                  // after each row and at the end
};

// Appends the entries of the queue file at `path` to `queue`.
void RestoreQueue(const std::string& path, DownloadQueue& queue, const QueueRestoreHooks& hooks);

// Told of each entry as its text is added, in list order: index, count, entry.
using QueueSaveProgress = std::function<void(size_t, size_t, const QueueEntry&)>;

// Removes the finished entries, then writes the rest, replacing the file whole; an empty
// queue deletes the file. Throws FileWriteError when the file cannot be written or deleted;
// the previous file then stays as it was.
void SaveQueue(const std::string& path, DownloadQueue& queue, const QueueSaveProgress& progress = {});

}  // namespace holvex
