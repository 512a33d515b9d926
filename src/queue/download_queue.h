#pragma once
// The download queue while the program runs: ordered entries, each with an identity that
// stays the same while rows before it come and go, so that a running download can find its
// entry again (or learn that it was removed).
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "queue/queue_entry.h"

namespace holvex {

using EntryId = std::uint64_t;

struct QueueChange {
  // RemovedMany: the rows listed in `removed` (ascending, as they were numbered before) are
  // gone, in one step: a clean-up of thousands of rows is told once, not once per row.
  enum class Kind { Reset, Appended, Changed, Removed, RemovedMany };
  Kind kind;
  size_t index = 0;  // the row concerned; unused for Reset and RemovedMany
  const std::vector<size_t>* removed = nullptr;

  // Where a row that stays moves to, or nullopt when it was removed.
  std::optional<size_t> NewIndexOf(size_t oldIndex) const;
};

class DownloadQueue {
 public:
  size_t Count() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  const QueueEntry& At(size_t index) const { return rows_.at(index).entry; }
  EntryId IdAt(size_t index) const { return rows_.at(index).id; }
  std::optional<size_t> IndexOf(EntryId id) const;
  std::vector<QueueEntry> Entries() const;

  EntryId Append(QueueEntry entry);
  // Puts the entries ahead of every row, in their order (told as a Reset).
  void Prepend(std::vector<QueueEntry> entries);
  void RemoveAt(size_t index);
  void Clear();
  void SetStatus(size_t index, std::string status);
  void Set(size_t index, QueueEntry entry);

  // Every entry whose status is exactly "Fertig" (resp. "Fehler"), walking from the last row.
  void RemoveFinishedEntries() { RemoveWithStatus(kStatusDone); }
  void RemoveFailedEntries() { RemoveWithStatus(kStatusFailed); }

  // Told of every change, so that a view can follow the model.
  std::function<void(const QueueChange&)> onChange;

 private:
  struct Row {
    EntryId id;
    QueueEntry entry;
  };
  void RemoveWithStatus(const char* status);
  void Notify(QueueChange::Kind kind, size_t index);

  std::vector<Row> rows_;
  EntryId nextId_ = 1;
};

}  // namespace holvex
