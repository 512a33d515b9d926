#pragma once
// What a long run could leak, counted for the running process: kernel handles, GDI objects,
// USER objects and private bytes. Wine answers GetProcessHandleCount and GetGuiResources
// with 0; there the handles are counted by asking each handle value, the GDI objects from
// the process's GDI handle table, and the USER objects as the process's windows.
#include <cstddef>
#include <string>

namespace holvex::test {

struct ResourceCounts {
  int handles = 0;
  int gdiObjects = 0;
  int userObjects = 0;
  std::size_t privateBytes = 0;
};

ResourceCounts MeasureResources();

// How each figure was counted here (for printed reports).
std::string HowResourcesAreCounted();

}  // namespace holvex::test
