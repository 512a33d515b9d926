#pragma once
#include <memory>
#include <string>
#include <vector>

#include "toolkit/window.h"

namespace holvex {

// One page of a page control: a plain window that holds the page's controls.
class TabSheet : public Window {
 public:
  void Create(HWND tabControl, const Rect& r);
};

// A tab control whose pages fill its display area.
class PageControl : public Window {
 public:
  void Create(HWND parent, const Rect& r);
  TabSheet& AddPage(const std::string& caption);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  std::string PageCaption(int index) const;

  bool HandleNotify(NMHDR* hdr, LRESULT* result) override;

 private:
  Rect DisplayArea() const;
  void ShowSelectedPage();
  std::vector<std::unique_ptr<TabSheet>> pages_;
};

}  // namespace holvex
