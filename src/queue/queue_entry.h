#pragma once
#include <string>

namespace holvex {

// One download of the queue: the four texts of its list row, in column order.
struct QueueEntry {
  std::string fileName;  // "Datei", the row's caption
  std::string size;      // "Größe", a size text such as "4,77 MB"
  std::string status;    // "Status", stored and restored verbatim
  std::string url;       // "URL", exactly as typed or imported

  bool operator==(const QueueEntry&) const = default;
};

inline constexpr const char* kStatusWaiting = "Wartend";
inline constexpr const char* kStatusConnecting = "Verbinde...";
inline constexpr const char* kStatusDone = "Fertig";
inline constexpr const char* kStatusCancelled = "Abgebrochen";
inline constexpr const char* kStatusFailed = "Fehler";
inline constexpr const char* kDefaultSizeText = "0,00 MB";

}  // namespace holvex
