#pragma once
// Colour arithmetic of the flat menus and the palette they are painted from. Colours are
// plain red, green, blue bytes; system colours are resolved by the caller before they get here.
#include <cstdint>

namespace holvex {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Each channel moves `percent` (capped at 100) of its way towards 255, rounded to the
// nearest value with ties to even.
Rgb Lighten(Rgb c, int percent);
// Red and blue lose `amount`, green loses `amount` - 2; clamped to 0..255.
Rgb Darken(Rgb c, int amount);
// The grey of the channels' mean plus `amount`, at most 240.
Rgb Gray(Rgb c, int amount);
// Light enough for dark text: red and blue average above 150, or green above 200.
bool IsLight(Rgb c);

// Percent by which column `column` of an item (0 = its left edge) lightens the icon-column
// colour in the gradient: 1 at the edge, 3 more per column across the icon column and five
// columns beyond it, then 1 more per column, never above 96.
int GradientPercent(int column, int iconWidth);

// The system colours the palette is derived from.
struct SystemMenuColors {
  Rgb btnFace, highlight, btnShadow;
};

// Colour settings of the styler: with useSystemColors the own colours are ignored.
struct MenuColorSettings {
  bool useSystemColors = true;
  bool useDimColor = false;
  Rgb color, iconBackColor, menuBarColor, separatorColor;  // own colours
  Rgb selectColor, selectBorderColor, checkedColor, selectFontColor, disabledColor;
};

struct MenuPalette {
  Rgb menuBackground, iconColumn, selectionFill, selectionBorder, selectedText;
  Rgb checkFill, checkFillSelected, checkBorder, menuBar, disabledText, separator;
};

// `highColor`: the display has more than 15 bits per pixel.
MenuPalette ComputeMenuPalette(const MenuColorSettings& settings, const SystemMenuColors& system,
                               Rgb fontColor, bool highColor);

}  // namespace holvex
