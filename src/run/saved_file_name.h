#pragma once
// The name an entry's file is saved under in the download folder.
#include <optional>
#include <string>

#include "queue/queue_entry.h"

namespace holvex {

// A name a download can be saved under in its folder: a usable file name (no path, drive,
// stream or device name), at most 255 characters, not ending in a dot or a blank (Windows
// would drop them, so "a.zip." names "a.zip").
bool IsPlainFileName(const std::string& name);

// The entry's listed name when it is a plain file name the file system accepts; otherwise the
// name its address gives, when that one is; otherwise none. A name from a damaged or hostile
// queue file ("..\..\x", "sub\x", "C:x", "NUL") thus never leads outside the download folder.
std::optional<std::string> SavedFileName(const QueueEntry& entry);

}  // namespace holvex
