#include "ui/menu_measure.h"

#include <algorithm>

namespace holvex {

namespace {

// Upper case of a Windows-1252 letter; other characters stay.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A:
      return 0x8A;  // š
    case 0x9C:
      return 0x8C;  // œ
    case 0x9E:
      return 0x8E;  // ž
    case 0xFF:
      return 0x9F;  // ÿ
    default:
      return c;
  }
}

}  // namespace

int RoundHalfEven(int num, int den) {
  int q = num / den, r = num % den;
  if (2 * r > den || (2 * r == den && (q & 1))) ++q;
  return q;
}

ItemSize MeasureMenuItem(const MenuItemFacts& item, const TextExtentFn& extent, int iconWidth,
                         ItemSize proposed) {
  const bool separator = item.IsSeparator();
  std::string text = separator ? std::string() : item.caption;
  if (!item.shortcut.empty()) text += item.shortcut + "WWW";
  ItemSize textSize = extent(text);

  int width = textSize.width + 5;
  if (item.caption.find('&') != std::string::npos) width -= extent("&").width;
  if (!item.topLevel && item.hasSubItems) width += 6;
  int imageWidth = item.HasImage() ? item.imageWidth : 0;
  if (!item.topLevel) imageWidth = std::max(imageWidth, iconWidth);

  ItemSize size;
  size.width = std::max(proposed.width, width + imageWidth);
  int height = 4;
  if (!separator) {
    height = textSize.height + RoundHalfEven(3 * textSize.height, 4);
    if (item.HasImage()) height = std::max(height, item.imageHeight + 6);
  }
  size.height = std::max(proposed.height, height);
  return size;
}

char AccessKey(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return caption[i + 1];
    ++i;  // "&&"
  }
  return 0;
}

int FindAccessKey(const std::vector<std::string>& captions, char key) {
  const unsigned char wanted = FoldCase(static_cast<unsigned char>(key));
  for (std::size_t i = 0; i < captions.size(); ++i) {
    char k = AccessKey(captions[i]);
    if (k != 0 && FoldCase(static_cast<unsigned char>(k)) == wanted) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace holvex
