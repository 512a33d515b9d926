#include "queue/download_queue.h"

#include <algorithm>

namespace holvex {

std::optional<size_t> DownloadQueue::IndexOf(EntryId id) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].id == id) return i;
  }
  return std::nullopt;
}

std::vector<QueueEntry> DownloadQueue::Entries() const {
  std::vector<QueueEntry> entries;
  entries.reserve(rows_.size());
  for (const Row& row : rows_) entries.push_back(row.entry);
  return entries;
}

EntryId DownloadQueue::Append(QueueEntry entry) {
  EntryId id = nextId_++;
  rows_.push_back(Row{id, std::move(entry)});
  Notify(QueueChange::Kind::Appended, rows_.size() - 1);
  return id;
}

void DownloadQueue::Prepend(std::vector<QueueEntry> entries) {
  if (entries.empty()) return;
  std::vector<Row> rows;
  rows.reserve(entries.size() + rows_.size());
  for (QueueEntry& entry : entries) rows.push_back(Row{nextId_++, std::move(entry)});
  for (Row& row : rows_) rows.push_back(std::move(row));
  rows_ = std::move(rows);
  Notify(QueueChange::Kind::Reset, 0);
}

void DownloadQueue::RemoveAt(size_t index) {
  if (index >= rows_.size()) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  Notify(QueueChange::Kind::Removed, index);
}

void DownloadQueue::Clear() {
  rows_.clear();
  Notify(QueueChange::Kind::Reset, 0);
}

void DownloadQueue::SetStatus(size_t index, std::string status) {
  if (index >= rows_.size()) return;
  rows_[index].entry.status = std::move(status);
  Notify(QueueChange::Kind::Changed, index);
}

void DownloadQueue::Set(size_t index, QueueEntry entry) {
  if (index >= rows_.size()) return;
  rows_[index].entry = std::move(entry);
  Notify(QueueChange::Kind::Changed, index);
}

void DownloadQueue::RemoveWithStatus(const char* status) {
  std::vector<size_t> removed;
  size_t kept = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].entry.status == status) {
      removed.push_back(i);
      continue;
    }
    if (kept != i) rows_[kept] = std::move(rows_[i]);
    ++kept;
  }
  if (removed.empty()) return;
  rows_.resize(kept);
  if (onChange) onChange(QueueChange{QueueChange::Kind::RemovedMany, 0, &removed});
}

std::optional<size_t> QueueChange::NewIndexOf(size_t oldIndex) const {
  switch (kind) {
    case Kind::Reset:
      return std::nullopt;
    case Kind::Removed:
      if (oldIndex == index) return std::nullopt;
      return oldIndex > index ? oldIndex - 1 : oldIndex;
    case Kind::RemovedMany: {
      auto below = std::lower_bound(removed->begin(), removed->end(), oldIndex);
      if (below != removed->end() && *below == oldIndex) return std::nullopt;
      return oldIndex - static_cast<size_t>(below - removed->begin());
    }
    default:
      return oldIndex;
  }
}

void DownloadQueue::Notify(QueueChange::Kind kind, size_t index) {
  if (onChange) onChange(QueueChange{kind, index});
}

}  // namespace holvex
