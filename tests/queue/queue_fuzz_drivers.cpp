#include "queue/queue_fuzz_drivers.h"

#include <cstdlib>
#include <string>

#include "run/saved_file_name.h"
#include "platform/ini_document.h"
#include "queue/download_address.h"
#include "queue/link_file.h"
#include "queue/queue_file.h"
#include "support/confined_name.h"

namespace holvex::fuzz {

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSavedName(const QueueEntry& entry) {
  if (std::optional<std::string> name = SavedFileName(entry)) Check(test::WhyNotConfined(*name).empty());
}

}  // namespace

void ReplayQueueFile(std::string_view data) {
  const std::vector<QueueEntry> entries = ParseQueue(data);
  Check(entries.size() == IniDocument::Parse(data).Sections().size());  // one entry per section
  const std::string written = SerializeQueue(entries);
  Check(ParseQueue(written) == entries);
  for (const QueueEntry& e : entries) CheckSavedName(e);
}

void ReplayLinkFile(std::string_view data) {
  const std::vector<std::string> lines = SplitLinkFileLines(data);
  const std::string_view text = data.substr(0, data.find('\0'));
  // The lines are the text without its line ends, in order; a line end after the last line
  // adds no line.
  std::string joined, expected;
  for (const std::string& line : lines) {
    Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    joined += line;
  }
  size_t ends = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      ends += !(text[i] == '\n' && i > 0 && text[i - 1] == '\r');
    } else {
      expected += text[i];
    }
  }
  Check(joined == expected);
  const bool openLastLine = !text.empty() && text.back() != '\r' && text.back() != '\n';
  Check(lines.size() == ends + (openLastLine ? 1 : 0));

  for (const std::string& url : lines) {
    if (IsValidDownloadUrl(url))
      CheckSavedName(QueueEntry{DownloadFileName(url), kDefaultSizeText, kStatusWaiting, url});
  }
}

}  // namespace holvex::fuzz
