#include "queue/queue_store.h"

#include "platform/file_io.h"
#include "queue/queue_file.h"

namespace holvex {

void RestoreQueue(const std::string& path, DownloadQueue& queue, const QueueRestoreHooks& hooks) {
  auto log = [&](const char* text) {
    if (hooks.log) hooks.log(text);
  };
  if (!FileExists(path)) {
    log("Initialisierung erfolgreich!");
    return;
  }
  log("Lade Downloads...");
  std::vector<QueueEntry> entries = ParseQueue(ReadFileBytes(path).value_or(std::string()));
  if (hooks.sectionName) {
    for (const QueueEntry& e : entries) hooks.sectionName(e.fileName);
  }
  log("Bitte warten...");
  for (QueueEntry& e : entries) {
    queue.Append(std::move(e));
    if (hooks.processEvents) hooks.processEvents();
  }
  log("Initialisierung erfolgreich!");
  if (hooks.processEvents) hooks.processEvents();
}

void SaveQueue(const std::string& path, DownloadQueue& queue, const QueueSaveProgress& progress) {
  queue.RemoveFinishedEntries();
  if (queue.Empty()) {
    if (FileExists(path) && !RemoveFile(path))
      throw FileWriteError(path, "Die Datei kann nicht gelöscht werden.");
    return;
  }
  std::string text;
  text.reserve(queue.Count() * 160);
  // The hook may pump messages, and a nested command may change the queue meanwhile: the
  // count is read anew for every entry.
  for (size_t i = 0; i < queue.Count(); ++i) {
    const QueueEntry& entry = queue.At(i);
    AppendQueueSection(text, entry);
    if (progress) progress(i, queue.Count(), entry);
  }
  WriteFileReplacing(path, text);
}

}  // namespace holvex
