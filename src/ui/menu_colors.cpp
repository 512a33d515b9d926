#include "ui/menu_colors.h"

#include <algorithm>

namespace holvex {

namespace {

std::uint8_t Clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

// round(num / 100) for num >= 0, ties to even.
int RoundPercent(int num) {
  int q = num / 100, r = num % 100;
  if (r > 50 || (r == 50 && (q & 1))) ++q;
  return q;
}

std::uint8_t LightenChannel(std::uint8_t x, int percent) {
  return static_cast<std::uint8_t>(x + RoundPercent((255 - x) * percent));
}

const Rgb kWhite{255, 255, 255};
const Rgb kSilver{192, 192, 192};

}  // namespace

Rgb Lighten(Rgb c, int percent) {
  percent = std::clamp(percent, 0, 100);
  return {LightenChannel(c.r, percent), LightenChannel(c.g, percent), LightenChannel(c.b, percent)};
}

Rgb Darken(Rgb c, int amount) { return {Clamp(c.r - amount), Clamp(c.g - amount + 2), Clamp(c.b - amount)}; }

Rgb Gray(Rgb c, int amount) {
  std::uint8_t v = Clamp(std::min((c.r + c.g + c.b) / 3 + amount, 240));
  return {v, v, v};
}

bool IsLight(Rgb c) { return (c.r + c.b) / 2 > 150 || c.g > 200; }

int GradientPercent(int column, int iconWidth) {
  const int steep = iconWidth + 4;  // columns 1 .. iconWidth + 4 add 3 each
  column = std::max(column, 0);
  int s = 1 + 3 * std::min(column, steep) + std::max(column - steep, 0);
  return std::min(s, 96);
}

MenuPalette ComputeMenuPalette(const MenuColorSettings& settings, const SystemMenuColors& system,
                               Rgb fontColor, bool highColor) {
  MenuPalette p;
  if (settings.useSystemColors) {
    p.menuBackground = highColor ? Lighten(system.btnFace, 86) : kWhite;
    p.iconColumn = highColor ? Lighten(system.btnFace, 16) : system.btnFace;
    p.selectionFill = highColor ? Lighten(system.highlight, 68) : kWhite;
    p.selectionBorder = system.highlight;
    p.selectedText = fontColor;
    p.checkFill = highColor ? Lighten(system.highlight, 80) : kWhite;
    p.checkFillSelected = highColor ? Lighten(system.highlight, 50) : kWhite;
    p.checkBorder = system.highlight;
    p.menuBar = system.btnFace;
    p.disabledText = highColor ? Lighten(system.btnShadow, 10) : system.btnShadow;
    p.separator = highColor ? Lighten(system.btnShadow, 25) : system.btnShadow;
    return p;
  }
  const bool dim = settings.useDimColor;
  p.menuBackground = settings.color;
  p.iconColumn = settings.iconBackColor;
  p.selectionFill = dim && highColor ? Lighten(settings.selectColor, 68) : settings.selectColor;
  p.selectionBorder = settings.selectBorderColor;
  p.selectedText = settings.selectFontColor;
  if (!dim) {
    p.checkFill = p.checkFillSelected = settings.selectColor;
  } else if (highColor) {
    p.checkFill = Lighten(settings.selectColor, 80);
    p.checkFillSelected = Lighten(settings.selectColor, 50);
  } else {
    p.checkFill = kWhite;
    p.checkFillSelected = kSilver;
  }
  p.checkBorder = settings.checkedColor;
  p.menuBar = settings.menuBarColor;
  p.disabledText = settings.disabledColor;
  p.separator = settings.separatorColor;
  return p;
}

}  // namespace holvex
