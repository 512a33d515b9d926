#include "ui/menu_styler.h"

#include <algorithm>

#include "ui/menu_canvas.h"
#include "ui/menu_measure.h"

namespace holvex {

namespace {

Rgb SysRgb(int index) {
  COLORREF c = GetSysColor(index);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// The display shows more than 15 bits per pixel.
bool HighColorDisplay() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits > 15;
}

std::string ItemText(HMENU menu, UINT position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoA(menu, position, TRUE, &info) || info.cch == 0) return {};
  std::string text(info.cch + 1, '\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return {};
  text.resize(info.cch);
  return text;
}

}  // namespace

TMenuStyler::TMenuStyler(Form& owner) : owner_(owner) {
  SetFont("Tahoma", -11);
  // Own colours start as the system colours they stand for.
  colors_.color = colors_.iconBackColor = colors_.menuBarColor = colors_.separatorColor =
      SysRgb(COLOR_BTNFACE);
  colors_.selectColor = colors_.selectBorderColor = colors_.checkedColor = SysRgb(COLOR_HIGHLIGHT);
  colors_.selectFontColor = SysRgb(COLOR_MENUTEXT);
  colors_.disabledColor = SysRgb(COLOR_INACTIVECAPTION);
}

TMenuStyler::~TMenuStyler() {
  if (active_) Unhook();
}

void TMenuStyler::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    Hook();
  } else {
    Unhook();
  }
  RedrawMenuBar();
}

void TMenuStyler::SetStyledControls(const std::set<StyledControl>& kinds) {
  styled_ = kinds;
  if (!active_) return;
  Unhook();
  Hook();
  RedrawMenuBar();
}

void TMenuStyler::SetStyle(const MenuStyle& style) {
  style_ = style;
  RedrawMenuBar();
}

void TMenuStyler::SetColors(const MenuColorSettings& colors) {
  colors_ = colors;
  RedrawMenuBar();
}

void TMenuStyler::SetFont(const std::string& face, int height) {
  font_.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
  RedrawMenuBar();
}

void TMenuStyler::SetImage(const MenuItem& item, const MenuBitmap* image) {
  if (image && !image->Empty()) {
    images_[item.id()] = image;
  } else {
    images_.erase(item.id());
  }
}

void TMenuStyler::Hook() {
  for (Menu* menu : owner_.Menus()) {
    const bool bar = menu->kind() == Menu::Kind::Bar;
    if (!styled_.count(bar ? StyledControl::MainMenu : StyledControl::PopupMenu)) continue;
    HookItems(menu->handle(), bar);
  }
}

void TMenuStyler::HookItems(HMENU menu, bool topLevel) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW) || overrideOwnerDraw_) {
      items_.push_back(std::make_unique<StyledItem>(StyledItem{menu, static_cast<UINT>(i), topLevel}));
      info.fMask = MIIM_FTYPE | MIIM_DATA;  // the text stays: access keys and GetMenuString keep working
      info.fType |= MFT_OWNERDRAW;
      info.dwItemData = reinterpret_cast<ULONG_PTR>(items_.back().get());
      SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    }
    if (info.hSubMenu) HookItems(info.hSubMenu, false);
  }
}

void TMenuStyler::Unhook() {
  for (const auto& item : items_) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(item->menu, item->position, TRUE, &info)) continue;
    if (info.dwItemData != reinterpret_cast<ULONG_PTR>(item.get())) continue;
    info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    info.dwItemData = 0;
    SetMenuItemInfoA(item->menu, item->position, TRUE, &info);
  }
  items_.clear();
}

void TMenuStyler::RedrawMenuBar() const {
  // Also makes the system measure the bar's items again.
  if (owner_.hwnd() && GetMenu(owner_.hwnd())) DrawMenuBar(owner_.hwnd());
}

const TMenuStyler::StyledItem* TMenuStyler::Find(ULONG_PTR itemData) const {
  for (const auto& item : items_) {
    if (reinterpret_cast<ULONG_PTR>(item.get()) == itemData) return item.get();
  }
  return nullptr;
}

bool TMenuStyler::IsHooked(HMENU menu) const {
  return std::any_of(items_.begin(), items_.end(), [menu](const auto& item) { return item->menu == menu; });
}

MenuItemFacts TMenuStyler::ReadFacts(const StyledItem& item, UINT* type, const MenuBitmap** image) const {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
  GetMenuItemInfoA(item.menu, item.position, TRUE, &info);
  MenuItemFacts facts;
  facts.topLevel = item.topLevel;
  facts.hasSubItems = info.hSubMenu != nullptr;
  if (info.fType & MFT_SEPARATOR) {
    facts.caption.assign(1, '-');  // (assigning the literal trips a false -Wrestrict in GCC 12)
  } else {
    // A shortcut follows the caption behind a tab.
    std::string text = ItemText(item.menu, item.position);
    std::size_t tab = text.find('\t');
    facts.caption = text.substr(0, tab);
    if (tab != std::string::npos) facts.shortcut = text.substr(tab + 1);
  }
  *type = info.fType;
  *image = nullptr;
  if (!info.hSubMenu) {
    auto it = images_.find(info.wID);
    if (it != images_.end()) *image = it->second;
  }
  if (*image) {
    facts.imageWidth = (*image)->width;
    facts.imageHeight = (*image)->height;
  }
  return facts;
}

void TMenuStyler::Measure(const StyledItem& item, MEASUREITEMSTRUCT& mis) const {
  UINT type = 0;
  const MenuBitmap* image = nullptr;
  MenuItemFacts facts = ReadFacts(item, &type, &image);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font_.get());
  auto extent = [dc](const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return ItemSize{size.cx, size.cy};
  };
  // The toolkit proposes no size of its own: the system's proposal is its default item
  // height, which would make separators as tall as text items.
  ItemSize size = MeasureMenuItem(facts, extent, style_.iconWidth, ItemSize{});
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  mis.itemWidth = static_cast<UINT>(size.width);
  mis.itemHeight = static_cast<UINT>(size.height);
}

bool TMenuStyler::UnderCursor(const StyledItem& item) const {
  POINT cursor{};
  RECT rc{};
  return GetCursorPos(&cursor) && GetMenuItemRect(owner_.hwnd(), item.menu, item.position, &rc) &&
         PtInRect(&rc, cursor);
}

void TMenuStyler::Paint(const StyledItem& item, const DRAWITEMSTRUCT& dis) const {
  ItemPlanInput in;
  UINT type = 0;
  in.facts = ReadFacts(item, &type, &in.image);
  in.look.selected = dis.itemState & ODS_SELECTED;
  in.look.disabled = dis.itemState & (ODS_GRAYED | ODS_DISABLED);
  in.look.checked = dis.itemState & ODS_CHECKED;
  in.look.radio = type & MFT_RADIOCHECK;
  // Every system the program runs on is of the NT family, where the bar has hot items.
  in.look.hot = item.topLevel && ((dis.itemState & ODS_HOTLIGHT) || UnderCursor(item));
  in.highColor = HighColorDisplay();
  in.style = style_;
  in.fontColor = SysRgb(COLOR_MENUTEXT);
  in.palette =
      ComputeMenuPalette(colors_, {SysRgb(COLOR_BTNFACE), SysRgb(COLOR_HIGHLIGHT), SysRgb(COLOR_BTNSHADOW)},
                         in.fontColor, in.highColor);

  const Box onMenu{dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom};
  const ItemCanvas geometry = CanvasForItem(onMenu, item.topLevel);
  MenuCanvas canvas(dis.hDC, geometry.onMenu.Width(), geometry.onMenu.Height(), font_.get());
  if (!canvas.Valid()) return;
  // The strip left of the item keeps what the menu shows there.
  if (geometry.item.left > 0) {
    canvas.CopyFrom(dis.hDC, geometry.onMenu.left, geometry.onMenu.top, 0, 0, geometry.item.left,
                    geometry.item.Height());
  }
  in.item = geometry.item;
  in.textHeight = canvas.TextHeight("W");
  canvas.Run(PlanMenuItem(in));
  canvas.CopyTo(dis.hDC, geometry.onMenu.left, geometry.onMenu.top);

  // The system paints a submenu's arrow afterwards, in the menu DC's colours.
  if (in.facts.hasSubItems && !item.topLevel) {
    const bool bar = in.look.selected && !in.look.disabled;
    Rgb back = in.palette.menuBackground;
    if (bar) {
      back = in.palette.selectionFill;
    } else if (in.highColor && style_.gradient) {
      back = Lighten(in.palette.iconColumn, GradientPercent(onMenu.Width() - 1, style_.iconWidth));
    }
    SetBkColor(dis.hDC, RGB(back.r, back.g, back.b));
    SetTextColor(dis.hDC, RGB(in.fontColor.r, in.fontColor.g, in.fontColor.b));
  }
}

LRESULT TMenuStyler::MenuChar(HMENU menu, char key, bool* handled) const {
  *handled = false;
  if (!IsHooked(menu)) return 0;
  std::vector<std::string> captions;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) captions.push_back(ItemText(menu, static_cast<UINT>(i)));
  int index = FindAccessKey(captions, key);
  if (index < 0) return 0;
  *handled = true;
  return MAKELRESULT(index, MNC_EXECUTE);
}

bool TMenuStyler::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      const StyledItem* item = (wp == 0 && mis->CtlType == ODT_MENU) ? Find(mis->itemData) : nullptr;
      if (!item) return false;
      Measure(*item, *mis);
      *result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      const StyledItem* item = dis->CtlType == ODT_MENU ? Find(dis->itemData) : nullptr;
      if (!item) return false;
      // A failure leaves the item as far as it was painted.
      try {
        if (active_) Paint(*item, *dis);
      } catch (...) {
      }
      *result = TRUE;
      return true;
    }
    case WM_MENUCHAR: {
      bool handled = false;
      *result = MenuChar(reinterpret_cast<HMENU>(lp), static_cast<char>(LOWORD(wp)), &handled);
      return handled;
    }
    default:
      return false;
  }
}

}  // namespace holvex
