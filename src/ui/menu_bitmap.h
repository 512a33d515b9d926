#pragma once
// Small item pictures as plain pixels, and the effects the flat menus apply to them. The
// colour of a picture's bottom-left pixel is its transparent colour.
#include <cstddef>
#include <vector>

#include "ui/menu_colors.h"

namespace holvex {

struct MenuBitmap {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  // rows top to bottom

  Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  bool Empty() const { return width <= 0 || height <= 0; }
  Rgb TransparentColor() const { return At(0, height - 1); }
};

// One flag per pixel: true where the picture is not transparent.
std::vector<bool> OpaqueMask(const MenuBitmap& bitmap);
// Every pixel lightened by `percent` (idle items).
MenuBitmap Dimmed(const MenuBitmap& bitmap, int percent);
// Every pixel greyed with Gray(pixel, grayLevel), then lightened by 40 percent (disabled items).
MenuBitmap Grayed(const MenuBitmap& bitmap, int grayLevel);

}  // namespace holvex
