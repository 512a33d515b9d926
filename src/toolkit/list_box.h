#pragma once
#include <string>

#include "toolkit/window.h"

namespace holvex {

// A list of text lines (used hidden, as a scratch list).
class ListBox : public Window {
 public:
  void Create(HWND parent, const Rect& r);
  void Add(const std::string& line);
  void Clear();
  int Count() const;
  std::string Item(int index) const;
};

}  // namespace holvex
