#include "queue/queue_store.h"

#include <new>

#include "platform/file_io.h"
#include "queue/queue_file.h"

namespace holvex {

namespace {

constexpr const char* kTooLargeForMemory = "Die Datei ist zu groß für den verfügbaren Arbeitsspeicher.";

// The file's entries, or nullopt when it cannot be read; `reason` then says why. A 32-bit
// process cannot hold every file: a file too large for memory is a file that cannot be read.
std::optional<std::vector<QueueEntry>> ReadQueueEntries(const std::string& path, std::string& reason) {
  try {
    std::optional<std::string> text = ReadFileBytes(path, &reason);
    if (!text) return std::nullopt;
    return ParseQueue(*text);
  } catch (const std::bad_alloc&) {
    reason = kTooLargeForMemory;
    return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> RestoreQueue(const std::string& path, DownloadQueue& queue,
                                        const QueueRestoreHooks& hooks) {
  auto log = [&](const char* text) {
    if (hooks.log) hooks.log(text);
  };
  if (!FileExists(path)) {
    log("Initialisierung erfolgreich!");
    return std::nullopt;
  }
  log("Lade Downloads...");
  std::string reason;
  std::optional<std::vector<QueueEntry>> entries = ReadQueueEntries(path, reason);
  if (!entries) return reason;
  if (hooks.sectionName) {
    for (const QueueEntry& e : *entries) hooks.sectionName(e.fileName);
  }
  log("Bitte warten...");
  try {
    for (QueueEntry& e : *entries) {
      queue.Append(std::move(e));
      if (hooks.processEvents) hooks.processEvents();
    }
  } catch (const std::bad_alloc&) {
    // Half a queue would replace the whole file at the next save.
    queue.Clear();
    return kTooLargeForMemory;
  }
  log("Initialisierung erfolgreich!");
  if (hooks.processEvents) hooks.processEvents();
  return std::nullopt;
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

std::optional<std::string> QueueStore::Restore(DownloadQueue& queue, const QueueRestoreHooks& hooks) {
  std::optional<std::string> unreadable = RestoreQueue(path_, queue, hooks);
  unread_ = unreadable.has_value();
  return unreadable;
}

void QueueStore::Save(DownloadQueue& queue, const QueueSaveProgress& progress) {
  if (unread_) TakeInUnreadFile(queue);
  SaveQueue(path_, queue, progress);
}

void QueueStore::TakeInUnreadFile(DownloadQueue& queue) {
  if (!FileExists(path_)) {
    unread_ = false;  // moved away by the user: nothing left to keep
    return;
  }
  std::string reason;
  std::optional<std::vector<QueueEntry>> entries = ReadQueueEntries(path_, reason);
  if (!entries) {
    throw FileWriteError(
        path_,
        "Die Warteschleife darin konnte beim Start nicht geladen werden; die Datei wird nicht "
        "überschrieben, solange sie nicht gelesen werden kann. " +
            reason);
  }
  const size_t count = entries->size();
  queue.Prepend(std::move(*entries));
  unread_ = false;
  if (log) log(std::to_string(count) + " Downloads aus \"" + path_ + "\" nachgeladen.");
}

}  // namespace holvex
