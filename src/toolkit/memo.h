#pragma once
#include <string>
#include <vector>

#include "toolkit/window.h"

namespace holvex {

// A multi-line text box; lines are appended at the end.
class Memo : public Window {
 public:
  void Create(HWND parent, const Rect& r, bool readOnly = true);
  void AppendLine(const std::string& line);
  std::vector<std::string> Lines() const;
  // A read-only log still reads as a text field: white, not greyed.
  HBRUSH ControlColor(HDC dc) override;
};

}  // namespace holvex
