#pragma once
#include <string>
#include <vector>

#include "toolkit/window.h"

namespace holvex {

// A list of text lines (used hidden, as a scratch list).
class ListBox : public Window {
 public:
  void Create(HWND parent, const Rect& r, bool visible = true);
  void Add(const std::string& line);
  // Many lines at once, without repainting the list for each.
  void AddLines(const std::vector<std::string>& lines);
  void Clear();
  int Count() const;
  std::string Item(int index) const;
};

}  // namespace holvex
