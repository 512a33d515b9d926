#pragma once
// Queue entries as GoogleTest prints them in a failure: their four texts, not their bytes.
#include <ostream>

#include "queue/queue_entry.h"

namespace holvex {

inline void PrintTo(const QueueEntry& e, std::ostream* os) {
  *os << "{" << e.fileName << ", " << e.size << ", " << e.status << ", " << e.url << "}";
}

}  // namespace holvex
