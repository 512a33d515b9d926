#pragma once
// What the flat menus need to know about one menu item to measure and draw it.
#include <string>

namespace holvex {

struct MenuItemFacts {
  std::string caption;    // with its "&"; exactly "-" for a separator
  std::string shortcut;   // the shortcut's text, empty when the item has none
  bool topLevel = false;  // an item of a menu bar
  bool hasSubItems = false;
  int imageWidth = 0, imageHeight = 0;  // 0 x 0 without an image

  bool IsSeparator() const { return caption == "-"; }
  bool HasImage() const { return imageWidth > 0 && imageHeight > 0; }
};

}  // namespace holvex
