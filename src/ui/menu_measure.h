#pragma once
// The size of a flat menu item, and the access keys of menu captions.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/menu_item_facts.h"

namespace holvex {

struct ItemSize {
  int width = 0, height = 0;
};

// Extent of a text in the menu font, as the platform measures it.
using TextExtentFn = std::function<ItemSize(const std::string&)>;

// Enlarges the proposed size to what the item needs.
ItemSize MeasureMenuItem(const MenuItemFacts& item, const TextExtentFn& extent, int iconWidth,
                         ItemSize proposed);

// round(num / den) for num, den > 0, ties to even.
int RoundHalfEven(int num, int den);

// The character after the caption's single "&" ("&&" stands for an ampersand); 0 if none.
char AccessKey(std::string_view caption);
// Index of the first caption whose access key is `key`, letter case ignored; -1 if none.
int FindAccessKey(const std::vector<std::string>& captions, char key);

}  // namespace holvex
