#pragma once
// The name an entry's file is saved under in the download folder.
#include <optional>
#include <string>

#include "queue/queue_entry.h"

namespace holvex {

// The entry's listed name when it is a plain file name the file system accepts; otherwise the
// name its address gives, when that one is; otherwise none. A name from a damaged or hostile
// queue file ("..\..\x", "sub\x", "C:x", "NUL") thus never leads outside the download folder.
std::optional<std::string> SavedFileName(const QueueEntry& entry);

}  // namespace holvex
