#pragma once
// TMenuStyler: flat owner-drawn menus for one form. Activating it hooks the form's menus
// that exist at that moment and whose kind is styled: each item becomes owner-drawn (and
// keeps its text, so access keys and GetMenuString still work), and the styler measures and
// paints it. The form routes WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR to HandleMessage.
#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/menu.h"
#include "ui/menu_bitmap.h"
#include "ui/menu_colors.h"
#include "ui/menu_item_plan.h"

namespace holvex {

enum class StyledControl { MainMenu, PopupMenu };

class TMenuStyler {
 public:
  explicit TMenuStyler(Form& owner);
  ~TMenuStyler();
  TMenuStyler(const TMenuStyler&) = delete;
  TMenuStyler& operator=(const TMenuStyler&) = delete;

  // Hooks or unhooks the owner's menus.
  void SetActive(bool active);
  bool Active() const { return active_; }
  // Which kinds of menus are hooked; an active styler hooks again with the new set.
  void SetStyledControls(const std::set<StyledControl>& kinds);
  // Items that are already owner-drawn are left alone unless this is set (at the next hooking).
  void SetOverrideOwnerDraw(bool override) { overrideOwnerDraw_ = override; }

  const MenuStyle& Style() const { return style_; }
  void SetStyle(const MenuStyle& style);
  const MenuColorSettings& Colors() const { return colors_; }
  void SetColors(const MenuColorSettings& colors);
  void SetFont(const std::string& face, int height);

  // The picture shown beside a command item (nullptr: none); it must outlive the styler.
  void SetImage(const MenuItem& item, const MenuBitmap* image);

  // Routing from the owner form: true when the message belonged to a styled menu.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

 private:
  // A hooked item, found again by its place in its menu (the program builds its menus once).
  struct StyledItem {
    HMENU menu;
    UINT position;
    bool topLevel;  // an item of the menu bar
  };

  void Hook();
  void HookItems(HMENU menu, bool topLevel);
  void Unhook();
  void RedrawMenuBar() const;
  const StyledItem* Find(ULONG_PTR itemData) const;
  bool IsHooked(HMENU menu) const;
  MenuItemFacts ReadFacts(const StyledItem& item, UINT* type, const MenuBitmap** image) const;
  void Measure(const StyledItem& item, MEASUREITEMSTRUCT& mis) const;
  void Paint(const StyledItem& item, const DRAWITEMSTRUCT& dis) const;
  bool UnderCursor(const StyledItem& item) const;
  LRESULT MenuChar(HMENU menu, char key, bool* handled) const;

  Form& owner_;
  bool active_ = false;
  bool overrideOwnerDraw_ = false;
  std::set<StyledControl> styled_{StyledControl::MainMenu, StyledControl::PopupMenu};
  MenuStyle style_;
  MenuColorSettings colors_;
  UniqueFont font_;
  std::map<UINT, const MenuBitmap*> images_;  // by command id
  std::vector<std::unique_ptr<StyledItem>> items_;
};

}  // namespace holvex
