#include "queue/queue_file.h"

#include "platform/ini_document.h"

namespace holvex {

std::string SerializeQueue(const std::vector<QueueEntry>& entries) {
  size_t total = 0;
  for (const QueueEntry& e : entries)
    total += e.fileName.size() + e.size.size() + e.status.size() + e.url.size() + 32;
  std::string text;
  text.reserve(total);
  for (const QueueEntry& e : entries) AppendQueueSection(text, e);
  return text;
}

void AppendQueueSection(std::string& text, const QueueEntry& e) {
  text.append("[").append(e.fileName).append("]\r\n");
  text.append("size=").append(e.size).append("\r\n");
  text.append("status=").append(e.status).append("\r\n");
  text.append("url=").append(e.url).append("\r\n");
  text.append("\r\n");
}

std::vector<QueueEntry> ParseQueue(std::string_view text) {
  std::vector<QueueEntry> entries;
  for (const IniSection& section : IniDocument::Parse(text).Sections()) {
    QueueEntry e{section.name, kDefaultSizeText, kStatusWaiting, ""};
    if (const std::string* v = section.Find("size")) e.size = *v;
    if (const std::string* v = section.Find("status")) e.status = *v;
    if (const std::string* v = section.Find("url")) e.url = *v;
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string SizeText(std::int64_t bytes, const LocaleSeparators& seps) {
  if (bytes < 0) bytes = 0;
  // Ten-thousandths of a megabyte first, then hundredths: the two roundings of the rule.
  // Long double keeps every byte count exact that a file can have.
  long double mb = static_cast<long double>(bytes) / 1048576.0L;
  auto tenThousandths = static_cast<std::int64_t>(mb * 10000.0L + 0.5L);
  std::int64_t hundredths = (tenThousandths + 50) / 100;
  return FormatHundredths(hundredths, seps) + " MB";
}

}  // namespace holvex
