#pragma once
// Menus built from the form's command table: a menu bar or a popup menu, its submenus and
// items. Each item is a command of its form; the form dispatches WM_COMMAND to OnClick.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/handles.h"

namespace holvex {

class MenuItem {
 public:
  UINT id() const { return id_; }
  HMENU parent() const { return parent_; }
  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetChecked(bool checked);
  bool Checked() const;
  std::string Caption() const;
  // As a click of the user: the command goes through the form's message queue.
  void Click() const;

  std::function<void()> OnClick;

 private:
  friend class Menu;
  HWND owner_ = nullptr;
  HMENU parent_ = nullptr;
  UINT id_ = 0;
};

class Menu {
 public:
  // A menu bar (attached to the form) or a popup menu.
  enum class Kind { Bar, Popup };
  Menu() = default;
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  void Create(Form& owner, Kind kind);
  HMENU handle() const { return menu_.get(); }
  Kind kind() const { return kind_; }

  // Adds a submenu under `parent` (nullptr: the menu itself) and returns it.
  HMENU AddSubmenu(const std::string& caption, HMENU parent = nullptr);
  void AddItem(MenuItem& item, const std::string& caption, HMENU parent = nullptr, bool ownerDrawFlag = false);
  void AddSeparator(HMENU parent = nullptr);

  // Shows a popup menu at a screen position and runs the chosen command. The menu belongs to
  // `tracker` while it is open (default: the owner form); a hidden owner needs a window of
  // its own in front, or the menu would not close when the user clicks elsewhere.
  void Popup(int x, int y, HWND tracker = nullptr) const;
  // Runs the command of the first top-level item marked as default; false when none is.
  bool ClickDefaultItem() const;

 private:
  Form* owner_ = nullptr;
  UniqueMenu menu_;  // owns its submenus
  Kind kind_ = Kind::Popup;
};

}  // namespace holvex
