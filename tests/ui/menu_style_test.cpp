#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "ui/menu_bitmap.h"
#include "ui/menu_colors.h"
#include "ui/menu_item_plan.h"
#include "ui/menu_measure.h"

namespace holvex {

void PrintTo(const Rgb& c, std::ostream* os) { *os << "(" << +c.r << "," << +c.g << "," << +c.b << ")"; }

namespace {

const Rgb kXpFace{212, 208, 200}, kXpHighlight{49, 106, 197}, kXpShadow{128, 128, 128};

TEST(MenuColors, OperationsRoundHalfToEvenAndClamp) {
  EXPECT_EQ(Lighten(kXpFace, 86), (Rgb{249, 248, 247}));          // 36.98, 40.42, 47.3 added
  EXPECT_EQ(Lighten({250, 252, 253}, 50), (Rgb{252, 254, 254}));  // 2.5 -> 2, 1.5 -> 2, 1
  EXPECT_EQ(Lighten({0, 100, 200}, 250), (Rgb{255, 255, 255}));
  EXPECT_EQ(Darken({100, 100, 100}, 30), (Rgb{70, 72, 70}));
  EXPECT_EQ(Darken({10, 0, 254}, -1), (Rgb{11, 3, 255}));
  EXPECT_EQ(Darken({10, 20, 10}, 100), (Rgb{0, 0, 0}));
  EXPECT_EQ(Gray({30, 60, 90}, 10), (Rgb{70, 70, 70}));
  EXPECT_EQ(Gray({250, 250, 250}, 10), (Rgb{240, 240, 240}));

  // Idle pictures are lightened, disabled ones greyed and then lightened by 40 percent; the
  // transparent colour (bottom left) stays recognisable by its mask.
  MenuBitmap picture{2, 2, {{30, 60, 90}, {255, 255, 255}, {255, 0, 255}, {30, 60, 90}}};
  EXPECT_EQ(Dimmed(picture, 30).At(0, 0), (Rgb{98, 118, 140}));
  EXPECT_EQ(Grayed(picture, 10).At(1, 1), (Rgb{144, 144, 144}));
  EXPECT_EQ(OpaqueMask(picture), (std::vector<bool>{true, true, false, true}));
}

TEST(MenuColors, PaletteFollowsTheSystemColoursAndTheDisplayDepth) {
  const SystemMenuColors xp{kXpFace, kXpHighlight, kXpShadow};
  const Rgb text{0, 0, 0};
  MenuPalette high = ComputeMenuPalette(MenuColorSettings{}, xp, text, true);
  EXPECT_EQ(high.menuBackground, (Rgb{249, 248, 247}));
  EXPECT_EQ(high.iconColumn, (Rgb{219, 216, 209}));
  EXPECT_EQ(high.selectionFill, (Rgb{189, 207, 236}));
  EXPECT_EQ(high.selectionBorder, kXpHighlight);
  EXPECT_EQ(high.checkFill, (Rgb{214, 225, 243}));
  EXPECT_EQ(high.separator, (Rgb{160, 160, 160}));
  EXPECT_EQ(high.menuBar, kXpFace);

  MenuPalette low = ComputeMenuPalette(MenuColorSettings{}, xp, text, false);
  EXPECT_EQ(low.menuBackground, (Rgb{255, 255, 255}));
  EXPECT_EQ(low.iconColumn, kXpFace);
  EXPECT_EQ(low.selectionFill, (Rgb{255, 255, 255}));
  EXPECT_EQ(low.separator, kXpShadow);
  EXPECT_EQ(low.disabledText, kXpShadow);

  // Own colours count only without the system colours.
  MenuColorSettings own;
  own.useSystemColors = false;
  own.useDimColor = true;
  own.selectColor = {0, 0, 255};
  EXPECT_EQ(ComputeMenuPalette(own, xp, text, true).selectionFill, (Rgb{173, 173, 255}));
  EXPECT_EQ(ComputeMenuPalette(own, xp, text, false).checkFillSelected, (Rgb{192, 192, 192}));
}

TEST(MenuColors, GradientRunsFromOneToNinetySixPercent) {
  const int expected[][2] = {{0, 1}, {1, 4}, {23, 70}, {28, 85}, {29, 86}, {38, 95}, {39, 96}, {500, 96}};
  for (const auto& [column, percent] : expected) EXPECT_EQ(GradientPercent(column, 24), percent) << column;
}

// Text 6 pixels per character and `height` high, like a small menu font.
TextExtentFn FixedFont(int height) {
  return [height](const std::string& text) { return ItemSize{6 * static_cast<int>(text.size()), height}; };
}

MenuItemFacts Facts(const char* caption, const char* shortcut = "") {
  MenuItemFacts facts;
  facts.caption = caption;
  facts.shortcut = shortcut;
  return facts;
}

TEST(MenuMeasure, WidthAndHeightRules) {
  MenuItemFacts separator = Facts("-");
  EXPECT_EQ(MeasureMenuItem(separator, FixedFont(13), 24, {}).height, 4);

  MenuItemFacts item = Facts("&Allgemeines");
  item.imageWidth = item.imageHeight = 16;
  ItemSize size = MeasureMenuItem(item, FixedFont(13), 24, {});
  EXPECT_EQ(size.width, 12 * 6 + 5 - 6 + 24);  // "&" does not count; the icon column does
  EXPECT_EQ(size.height, 23);                  // 13 + round(9.75)
  EXPECT_EQ(MeasureMenuItem(item, FixedFont(14), 24, {}).height, 24);  // 14 + round(10.5) = 14 + 10
  EXPECT_EQ(MeasureMenuItem(item, FixedFont(11), 24, {}).height, 22);  // the picture + 6 wins
  EXPECT_EQ(MeasureMenuItem(item, FixedFont(13), 24, {200, 30}).height, 30);

  MenuItemFacts submenu = Facts("&Neu");
  submenu.hasSubItems = true;
  EXPECT_EQ(MeasureMenuItem(submenu, FixedFont(13), 24, {}).width, 4 * 6 + 5 - 6 + 6 + 24);
  MenuItemFacts bar = Facts("&Datei");
  bar.topLevel = bar.hasSubItems = true;
  EXPECT_EQ(MeasureMenuItem(bar, FixedFont(13), 24, {}).width, 6 * 6 + 5 - 6);
  MenuItemFacts shortcut = Facts("Speichern", "Strg+S");
  EXPECT_EQ(MeasureMenuItem(shortcut, FixedFont(13), 24, {}).width, (9 + 6 + 3) * 6 + 5 + 24);
}

TEST(MenuMeasure, AccessKeysIgnoreCaseAndDoubledAmpersands) {
  const std::vector<std::string> einstellungen = {"&Allgemeines", "&Proxy-Server", "",
                                                  "Mit Windows &starten"};
  EXPECT_EQ(FindAccessKey(einstellungen, 'S'), 3);
  EXPECT_EQ(FindAccessKey(einstellungen, 'p'), 1);
  EXPECT_EQ(FindAccessKey(einstellungen, 'x'), -1);
  EXPECT_EQ(FindAccessKey({"Fisch && Brot", "Fisch && &Chips"}, 'c'), 1);
  EXPECT_EQ(FindAccessKey({"A&&B"}, 'B'), -1);
  EXPECT_EQ(FindAccessKey({"&\xDC"
                           "ber"},
                          '\xFC'),
            0);  // Ü by ü
  EXPECT_EQ(FindAccessKey({"&?"}, '?'), 0);
}

const DrawStep* FindStep(const std::vector<DrawStep>& steps, DrawStep::Kind kind, int skip = 0) {
  for (const DrawStep& s : steps) {
    if (s.kind == kind && skip-- == 0) return &s;
  }
  return nullptr;
}

TEST(MenuItemPlan, CheckBoxSeparatorAndRaisedPicture) {
  ItemPlanInput in;
  in.style.gradient = true;
  in.palette = ComputeMenuPalette(MenuColorSettings{}, {kXpFace, kXpHighlight, kXpShadow}, {}, true);
  in.facts.caption = "Mit Windows &starten";
  in.item = CanvasForItem({10, 50, 160, 72}, false).item;
  ASSERT_EQ(in.item, (Box{4, 0, 154, 22}));
  in.look.checked = true;
  auto steps = PlanMenuItem(in);
  const DrawStep* box = FindStep(steps, DrawStep::Kind::Rectangle);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->box, (Box{4 + 7, 6, 4 + 17, 16}));  // 10 x 10, centred in the 24-pixel column
  EXPECT_EQ(box->pen, kXpHighlight);

  in.look = {};
  in.facts.caption = "-";
  in.item = {4, 0, 154, 4};
  steps = PlanMenuItem(in);
  EXPECT_EQ(steps.back().points, (std::vector<Point>{{4 + 24 + 7, 2}, {154, 2}}));
  EXPECT_EQ(steps.back().pen, in.palette.separator);
  EXPECT_EQ(FindStep(steps, DrawStep::Kind::Text), nullptr);

  // A selected picture is raised one pixel up and left over its shadow; an idle one is dimmed.
  MenuBitmap picture{16, 16, std::vector<Rgb>(256, Rgb{255, 0, 255})};
  picture.pixels[5] = {0, 0, 0};
  in.image = &picture;
  in.facts = {"&Allgemeines", "", false, false, 16, 16};
  in.item = {4, 0, 154, 23};
  in.look.selected = true;
  steps = PlanMenuItem(in);
  const DrawStep* shadow = FindStep(steps, DrawStep::Kind::Image);
  const DrawStep* raised = FindStep(steps, DrawStep::Kind::Image, 1);
  ASSERT_TRUE(shadow && raised);
  EXPECT_EQ(raised->box.left, 4 + 3 - 1);
  EXPECT_EQ(raised->box.top, 3 - 1);
  EXPECT_TRUE(shadow->solid);
  EXPECT_EQ(shadow->box.left, raised->box.left + 2);
  EXPECT_EQ(shadow->box.top, raised->box.top + 2);
  in.look.selected = false;
  steps = PlanMenuItem(in);
  const DrawStep* idle = FindStep(steps, DrawStep::Kind::Image);
  ASSERT_TRUE(idle);
  EXPECT_EQ(idle->box.left, 4 + 3);
  EXPECT_EQ(idle->image.At(5, 0), Lighten({0, 0, 0}, 30));
  const DrawStep* text = FindStep(steps, DrawStep::Kind::Text);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->box.left, 4 + 24 + 3);
  EXPECT_EQ(text->text, " &Allgemeines");
}

}  // namespace
}  // namespace holvex
