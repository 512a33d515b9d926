#pragma once
// The queue file load.hvq: per entry a section named after the file, with the keys size,
// status and url, and an empty line; every line ends with CR LF.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_format.h"
#include "queue/queue_entry.h"

namespace holvex {

inline constexpr const char* kQueueFileName = "load.hvq";

std::string SerializeQueue(const std::vector<QueueEntry>& entries);
// One entry's five lines, added to `text`.
void AppendQueueSection(std::string& text, const QueueEntry& entry);

// Every section in file order, each with its own keys (so two sections of one name keep
// their own values); a missing key gives its default.
std::vector<QueueEntry> ParseQueue(std::string_view text);

// The size text: bytes / 1048576, rounded to four decimals, shown with two and the locale's
// separators, then " MB". Negative counts (no usable length) give the text of 0 bytes.
std::string SizeText(std::int64_t bytes, const LocaleSeparators& seps);

}  // namespace holvex
