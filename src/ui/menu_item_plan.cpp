#include "ui/menu_item_plan.h"

#include "ui/menu_measure.h"

namespace holvex {

namespace {

const Rgb kBlack{0, 0, 0};

DrawStep Fill(const Box& box, Rgb color) {
  DrawStep s;
  s.kind = DrawStep::Kind::Fill;
  s.box = box;
  s.brush = color;
  return s;
}

DrawStep Outlined(DrawStep::Kind kind, const Box& box, Rgb pen, Rgb brush) {
  DrawStep s;
  s.kind = kind;
  s.box = box;
  s.pen = pen;
  s.brush = brush;
  return s;
}

DrawStep Line(std::vector<Point> points, Rgb pen) {
  DrawStep s;
  s.kind = DrawStep::Kind::Line;
  s.points = std::move(points);
  s.pen = pen;
  return s;
}

void PlanBackground(const ItemPlanInput& in, std::vector<DrawStep>& steps) {
  const Box& it = in.item;
  const MenuPalette& p = in.palette;
  if (in.facts.topLevel) {
    steps.push_back(Fill(it, p.menuBar));
    return;
  }
  if (!(in.highColor && in.style.gradient)) {
    steps.push_back(Fill(it, p.menuBackground));
    steps.push_back(Fill({it.left, it.top, it.left + in.style.iconWidth, it.bottom}, p.iconColumn));
    return;
  }
  // One-pixel columns up to 2 pixels beyond the right edge; equal neighbours share one fill.
  const int columns = it.Width() + 2;
  for (int k = 0; k < columns;) {
    int percent = GradientPercent(k, in.style.iconWidth);
    int end = k + 1;
    while (end < columns && GradientPercent(end, in.style.iconWidth) == percent) ++end;
    steps.push_back(Fill({it.left + k, it.top, it.left + end, it.bottom}, Lighten(p.iconColumn, percent)));
    k = end;
  }
}

void PlanTopLevelSelection(const ItemPlanInput& in, std::vector<DrawStep>& steps) {
  const Box& it = in.item;
  const MenuPalette& p = in.palette;
  const int L = it.left, T = it.top, R = it.right, B = it.bottom;
  const int X = in.highColor ? R - 8 : R - 3;
  steps.push_back(Fill(it, p.selectionFill));
  steps.push_back(Line({{L, B - 1}, {L, T}, {X, T}, {X, B}}, p.selectionBorder));
  if (!in.highColor) {
    steps.push_back(Fill({X + 1, T + 2, R, B}, Darken(p.menuBar, 70)));
    steps.push_back(Fill({X + 1, T, R, T + 2}, p.menuBar));
    return;
  }
  // A drop shadow right of the open item, fading into the menu bar.
  const Rgb m = p.menuBar;
  steps.push_back(Fill({R - 7, T, R, B}, Darken(m, 10)));
  steps.push_back(Fill({R - 7, T + 3, R - 2, B}, Darken(m, 30)));
  steps.push_back(Fill({R - 7, T + 5, R - 3, B}, Darken(m, 60)));
  steps.push_back(Fill({R - 7, T + 6, R - 5, B}, Darken(m, 100)));
  steps.push_back(Line({{R - 5, T + 1}, {R - 1, T + 1}, {R - 1, T + 6}}, m));
  steps.push_back(Line({{R - 3, T + 2}, {R - 2, T + 2}, {R - 2, T + 3}, {R - 3, T + 3}}, m));
  steps.push_back(
      Line({{R - 6, T + 3}, {R - 3, T + 3}, {R - 3, T + 6}, {R - 4, T + 6}, {R - 4, T + 3}}, Darken(m, 10)));
  steps.push_back(Line({{R - 5, T + 5}, {R - 4, T + 5}, {R - 4, T + 9}}, Darken(m, 30)));
  steps.push_back(Line({{R - 6, T + 5}, {R - 6, T + 7}}, Darken(m, 40)));
}

void PlanSelection(const ItemPlanInput& in, std::vector<DrawStep>& steps) {
  const Box& it = in.item;
  const MenuPalette& p = in.palette;
  if (in.look.selected && in.style.drawSelect) {
    if (in.facts.topLevel) {
      PlanTopLevelSelection(in, steps);
    } else if (!in.look.disabled) {
      steps.push_back(Outlined(DrawStep::Kind::Rectangle, {it.left, it.top + 1, it.right, it.bottom - 1},
                               p.selectionBorder, p.selectionFill));
    }
  } else if (in.facts.topLevel && in.look.hot && !in.look.selected && !in.look.disabled) {
    steps.push_back(Outlined(DrawStep::Kind::Rectangle, {it.left, it.top, it.right - 7, it.bottom},
                             p.selectionBorder, p.selectionFill));
  }
}

void PlanCheck(const ItemPlanInput& in, std::vector<DrawStep>& steps) {
  if (!in.look.checked) return;
  const MenuPalette& p = in.palette;
  const bool hasImage = in.image != nullptr;
  const Box box = CheckBoxFor(in.item, in.style.iconWidth, hasImage);
  const Rgb fill = in.look.selected ? p.checkFillSelected : p.checkFill;
  if (hasImage) {
    // A frame behind the picture.
    const Rgb pen = in.look.disabled ? p.disabledText : p.selectionBorder;
    auto kind = in.look.radio ? DrawStep::Kind::RoundRect : DrawStep::Kind::Rectangle;
    DrawStep frame = Outlined(kind, box, pen, fill);
    frame.corner = 6;
    steps.push_back(frame);
    return;
  }
  const Rgb mark = in.look.disabled ? p.disabledText : kBlack;
  if (in.look.radio) {
    steps.push_back(Outlined(DrawStep::Kind::Ellipse, box, p.checkBorder, fill));
    steps.push_back(Outlined(DrawStep::Kind::Ellipse,
                             {box.left + 2, box.top + 2, box.right - 2, box.bottom - 2}, mark, mark));
    return;
  }
  steps.push_back(
      Outlined(DrawStep::Kind::Rectangle, box, in.look.disabled ? p.disabledText : p.checkBorder, fill));
  const int L = box.left, T = box.top, R = box.right, B = box.bottom;
  steps.push_back(Line({{L + 1, T + 5}, {L + 4, B - 2}}, mark));
  steps.push_back(Line({{L + 2, T + 5}, {L + 4, B - 3}}, mark));
  steps.push_back(Line({{L + 2, T + 4}, {L + 5, B - 3}}, mark));
  steps.push_back(Line({{L + 4, B - 3}, {R + 2, T - 1}}, mark));
  steps.push_back(Line({{L + 4, B - 2}, {R - 2, T + 3}}, mark));
}

DrawStep ImageStep(const MenuBitmap& image, const std::vector<bool>& mask, int x, int y) {
  DrawStep s;
  s.kind = DrawStep::Kind::Image;
  s.box = {x, y, x + image.width, y + image.height};
  s.image = image;
  s.mask = mask;
  return s;
}

void PlanImage(const ItemPlanInput& in, std::vector<DrawStep>& steps) {
  if (!in.image || in.image->Empty()) return;
  const MenuBitmap& image = *in.image;
  const Box& it = in.item;
  const int W = in.style.iconWidth;
  int x =
      in.facts.topLevel ? it.left + 1 : (image.width < W ? it.left + (W - image.width) / 2 - 1 : it.left + 2);
  int y = it.top + 3;
  const std::vector<bool> mask = OpaqueMask(image);
  const ItemLook& look = in.look;
  if (look.disabled) {
    steps.push_back(ImageStep(Grayed(image, in.style.grayLevel), mask, x, y));
  } else if (look.selected && !look.checked) {
    // Raised: moved up and left over its shadow.
    x -= 1;
    y -= in.facts.topLevel ? 2 : 1;
    DrawStep shadow = ImageStep(image, mask, x + 2, y + 2);
    shadow.solid = true;
    shadow.brush = Darken(in.palette.selectionFill, 50);
    steps.push_back(shadow);
    steps.push_back(ImageStep(image, mask, x, y));
  } else if (!look.selected && !look.checked && in.highColor) {
    steps.push_back(ImageStep(Dimmed(image, in.style.dimLevel), mask, x, y));
  } else {
    steps.push_back(ImageStep(image, mask, x, y));
  }
}

Rgb TextColor(const ItemPlanInput& in) {
  const MenuPalette& p = in.palette;
  Rgb c = in.fontColor;
  if (in.look.selected) {
    c = p.selectedText;
    if (in.facts.topLevel) c = IsLight(p.iconColumn) ? in.fontColor : Lighten(p.iconColumn, 90);
  }
  if (in.look.disabled) c = p.disabledText;
  return c;
}

void PlanText(const ItemPlanInput& in, std::vector<DrawStep>& steps) {
  const Box& it = in.item;
  const MenuItemFacts& f = in.facts;
  int left = it.left;
  if (!f.topLevel) {
    left += in.style.iconWidth;
    if (f.HasImage() && f.imageWidth > in.style.iconWidth) left = it.left + f.imageWidth + 4;
  } else if (f.HasImage()) {
    left += 1 + f.imageWidth;
  }
  const int top = it.top + (it.Height() - in.textHeight) / 2;
  DrawStep text;
  text.kind = DrawStep::Kind::Text;
  text.box = {left + 3, top, it.right, it.bottom};
  text.pen = TextColor(in);
  text.text = " " + f.caption;
  steps.push_back(text);
  if (!f.shortcut.empty()) {
    text.box = {left, top, it.right - 10, it.bottom};
    text.text = f.shortcut + " ";
    text.alignRight = true;
    steps.push_back(text);
  }
}

}  // namespace

ItemCanvas CanvasForItem(const Box& itemOnMenu, bool topLevel) {
  ItemCanvas c;
  const int extra = topLevel ? 0 : 4;
  c.onMenu = {itemOnMenu.left - extra, itemOnMenu.top, itemOnMenu.right, itemOnMenu.bottom};
  c.item = {extra, 0, extra + itemOnMenu.Width(), itemOnMenu.Height()};
  return c;
}

Box CheckBoxFor(const Box& item, int iconWidth, bool hasImage) {
  if (hasImage) return {item.left + 1, item.top + 2, item.left + iconWidth - 3, item.bottom - 2};
  const int left = item.left + (iconWidth - 10) / 2, top = item.top + (item.Height() - 10) / 2;
  return {left, top, left + 10, top + 10};
}

int SeparatorRow(const Box& item) { return item.top + RoundHalfEven(item.Height() + 1, 2); }

std::vector<DrawStep> PlanMenuItem(const ItemPlanInput& in) {
  std::vector<DrawStep> steps;
  PlanBackground(in, steps);
  PlanSelection(in, steps);
  PlanCheck(in, steps);
  PlanImage(in, steps);
  if (in.facts.IsSeparator()) {
    const int row = SeparatorRow(in.item);
    steps.push_back(
        Line({{in.item.left + in.style.iconWidth + 7, row}, {in.item.right, row}}, in.palette.separator));
    return steps;
  }
  PlanText(in, steps);
  return steps;
}

}  // namespace holvex
