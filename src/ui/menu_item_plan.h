#pragma once
// How one flat menu item is painted, as a list of drawing steps in the coordinates of the
// item's off-screen canvas. The platform side runs the steps with GDI; everything the look
// depends on is decided here.
#include <string>
#include <vector>

#include "ui/menu_bitmap.h"
#include "ui/menu_colors.h"
#include "ui/menu_item_facts.h"

namespace holvex {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Box&, const Box&) = default;
};

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct DrawStep {
  enum class Kind {
    Fill,       // box in brush
    Rectangle,  // box outlined in pen, filled with brush
    Ellipse,    // likewise
    RoundRect,  // likewise, corners of `corner` pixels
    Line,       // polyline through points in pen, its end point excluded
    Image,      // image at box.left, box.top where mask is set; in brush when solid
    Text,       // text in pen, "&" underlined, tabs expanded, from box.left (or ending at box.right)
  };
  Kind kind = Kind::Fill;
  Box box;
  Rgb pen, brush;
  std::vector<Point> points;
  int corner = 0;
  MenuBitmap image;
  std::vector<bool> mask;
  bool solid = false;
  std::string text;
  bool alignRight = false;
};

// What a styled menu item looks like at the moment it is drawn.
struct ItemLook {
  bool selected = false, disabled = false, checked = false, radio = false;
  bool hot = false;  // a top-level item under the mouse
};

struct MenuStyle {
  int iconWidth = 24;
  int dimLevel = 30;
  int grayLevel = 10;
  bool drawSelect = true;
  bool gradient = false;
};

// The off-screen canvas of an item: where it goes on the menu and where the item lies in it.
// Items below the bar get 4 more pixels on the left.
struct ItemCanvas {
  Box onMenu;  // the canvas's place in the menu's coordinates
  Box item;    // the item within the canvas
};
ItemCanvas CanvasForItem(const Box& itemOnMenu, bool topLevel);

struct ItemPlanInput {
  MenuItemFacts facts;
  const MenuBitmap* image = nullptr;
  ItemLook look;
  Box item;            // within the canvas
  int textHeight = 0;  // height of "W" in the menu font
  bool highColor = true;
  MenuStyle style;
  MenuPalette palette;
  Rgb fontColor;
};

std::vector<DrawStep> PlanMenuItem(const ItemPlanInput& in);

// Geometry shared by the plan and its tests.
Box CheckBoxFor(const Box& item, int iconWidth, bool hasImage);
int SeparatorRow(const Box& item);

}  // namespace holvex
