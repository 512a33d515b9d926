#include "toolkit/menu.h"

namespace holvex {

void MenuItem::SetEnabled(bool enabled) {
  EnableMenuItem(parent_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  if (owner_ && GetMenu(owner_)) DrawMenuBar(owner_);
}

bool MenuItem::Enabled() const {
  UINT state = GetMenuState(parent_, id_, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void MenuItem::SetChecked(bool checked) {
  CheckMenuItem(parent_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItem::Checked() const { return (GetMenuState(parent_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0; }

std::string MenuItem::Caption() const {
  char buf[256] = {};
  GetMenuStringA(parent_, id_, buf, sizeof buf, MF_BYCOMMAND);
  return buf;
}

void MenuItem::Click() const {
  // A disabled item cannot be chosen.
  if (Enabled()) PostMessageA(owner_, WM_COMMAND, MAKEWPARAM(id_, 0), 0);
}

Menu::~Menu() {
  if (owner_) owner_->RemoveMenu(this);
}

void Menu::Create(Form& owner, Kind kind) {
  if (owner_) owner_->RemoveMenu(this);
  owner_ = &owner;
  owner.AddMenu(this);
  kind_ = kind;
  menu_.reset(kind == Kind::Bar ? CreateMenu() : CreatePopupMenu());
  if (kind == Kind::Bar) SetMenu(owner.hwnd(), menu_.get());
}

HMENU Menu::AddSubmenu(const std::string& caption, HMENU parent) {
  HMENU sub = CreatePopupMenu();
  AppendMenuA(parent ? parent : menu_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
  return sub;
}

void Menu::AddItem(MenuItem& item, const std::string& caption, HMENU parent, bool /*ownerDrawFlag*/) {
  item.owner_ = owner_->hwnd();
  item.parent_ = parent ? parent : menu_.get();
  MenuItem* target = &item;
  item.id_ = owner_->AddCommand([target] {
    if (target->OnClick) target->OnClick();
  });
  AppendMenuA(item.parent_, MF_STRING, item.id_, caption.c_str());
}

void Menu::AddSeparator(HMENU parent) { AppendMenuA(parent ? parent : menu_.get(), MF_SEPARATOR, 0, nullptr); }

void Menu::Popup(int x, int y, HWND tracker) const {
  HWND window = tracker ? tracker : owner_->hwnd();
  // The tracking window must be in front, or the menu would not close when the user clicks
  // elsewhere.
  SetForegroundWindow(window);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
  PostMessageA(window, WM_NULL, 0, 0);
  // The command goes to the form whose items these are, whichever window tracked the menu.
  if (chosen) PostMessageA(owner_->hwnd(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

bool Menu::ClickDefaultItem() const {
  const int count = GetMenuItemCount(menu_.get());
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu_.get(), static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fState & MFS_DEFAULT)) continue;
    if (!info.hSubMenu) PostMessageA(owner_->hwnd(), WM_COMMAND, MAKEWPARAM(info.wID, 0), 0);
    return true;
  }
  return false;
}

}  // namespace holvex
