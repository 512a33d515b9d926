#pragma once
// The entries of the soak run and what the soak server answers for each: good files of
// varying size, 404s, bodies that stall and bodies broken off by a reset, in a fixed mix.
#include <cstdint>
#include <string>

namespace holvex::test {

enum class SoakKind { kGood, kNotFound, kStall, kReset };

inline SoakKind SoakKindOf(int entry) {
  switch (entry % 10) {
    case 6:
    case 7:
      return SoakKind::kNotFound;
    case 8:
      return SoakKind::kStall;
    case 9:
      return SoakKind::kReset;
    default:
      return SoakKind::kGood;
  }
}

inline std::uint32_t SoakBodyLength(int entry) {
  return 1000 + static_cast<std::uint32_t>(entry) * 7919u % 200000u;
}

inline std::string SoakFileName(int entry) { return "soak" + std::to_string(entry) + ".bin"; }

// The status an entry must end with.
inline const char* SoakFinalStatus(int entry) {
  return SoakKindOf(entry) == SoakKind::kGood ? "Fertig" : "Fehler";
}

}  // namespace holvex::test
