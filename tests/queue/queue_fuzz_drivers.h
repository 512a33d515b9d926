#pragma once
// What the queue-file and link-file fuzzers feed and the corpus replay runs again. Failed
// invariants abort.
#include <string_view>

namespace holvex::fuzz {

// Any bytes as load.hvq: read, written and read again gives the same queue, and every name
// the run would save an entry under stays inside the download folder.
void ReplayQueueFile(std::string_view data);

// Any bytes as a link file: its lines hold every byte but the line ends, and each line the
// import accepts is saved under a name inside the download folder.
void ReplayLinkFile(std::string_view data);

}  // namespace holvex::fuzz
