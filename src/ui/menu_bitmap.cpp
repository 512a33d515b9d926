#include "ui/menu_bitmap.h"

namespace holvex {

namespace {

// Applies `op` to every pixel, computing it again only where a pixel differs from the one
// before: pictures are mostly runs of one colour.
template <typename Op>
MenuBitmap MapPixels(const MenuBitmap& bitmap, Op op) {
  MenuBitmap out = bitmap;
  bool have = false;
  Rgb lastIn, lastOut;
  for (Rgb& p : out.pixels) {
    if (!have || !(p == lastIn)) {
      lastIn = p;
      lastOut = op(p);
      have = true;
    }
    p = lastOut;
  }
  return out;
}

}  // namespace

std::vector<bool> OpaqueMask(const MenuBitmap& bitmap) {
  std::vector<bool> mask(bitmap.pixels.size(), false);
  if (bitmap.Empty()) return mask;
  const Rgb key = bitmap.TransparentColor();
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = !(bitmap.pixels[i] == key);
  return mask;
}

MenuBitmap Dimmed(const MenuBitmap& bitmap, int percent) {
  return MapPixels(bitmap, [percent](Rgb c) { return Lighten(c, percent); });
}

MenuBitmap Grayed(const MenuBitmap& bitmap, int grayLevel) {
  return MapPixels(bitmap, [grayLevel](Rgb c) { return Lighten(Gray(c, grayLevel), 40); });
}

}  // namespace holvex
