#pragma once
// A top-level window of the program: created hidden once, shown and hidden on demand, or run
// modally with its owner disabled. Commands (menu items) and timers of the form are numbered
// here and dispatched to their handlers.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace holvex {

class Menu;

// Centres the next message box over the form it is posted to (just before the box is shown:
// the box's own modal loop takes it once the box exists).
inline constexpr UINT WM_MSGBOX_CENTER = WM_USER + 1024;

struct FormParams {
  const char* className = "TForm";
  std::string caption;
  int clientWidth = 300;
  int clientHeight = 200;
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  DWORD exStyle = 0;
  COLORREF background = CLR_INVALID;  // default: the dialog face colour
  const char* fontFace = "Arial";     // every form of the program uses Arial 8 pt
  int fontPoints = 8;
  bool hasMenu = false;     // leave room for a menu bar in the client size
  bool dialogKeys = false;  // Tab, Enter and Esc move between controls
};

class Form : public Window {
 public:
  explicit Form(const FormParams& params);
  ~Form() override;

  void Show();
  void Hide();
  // Shows the form modally: the main form is disabled until this one closes.
  int ShowModal();
  // Asks the form to close (as the title bar's close button does).
  void Close();
  bool IsModal() const { return modal_; }
  void SetModalResult(int result) { modalResult_ = result; }

  void CenterOnScreen();
  void CenterOver(const Window& other);
  void SetClientSize(int width, int height);
  // A message box centred over this form, owned by the active window (this form when there is
  // none); returns the button pressed.
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);
  HFONT font() const { return font_.get(); }
  bool WantsDialogKeys() const { return dialogKeys_; }

  // A command id for a menu item; the handler runs on WM_COMMAND from a menu.
  UINT AddCommand(std::function<void()> handler);
  // A timer id; the handler runs on WM_TIMER.
  UINT_PTR AddTimer(std::function<void()> handler);

  // The form's menus in the order they were created (each menu adds and removes itself).
  const std::vector<Menu*>& Menus() const { return menus_; }
  void AddMenu(Menu* menu) { menus_.push_back(menu); }
  void RemoveMenu(Menu* menu);

  std::function<void()> OnShow;
  // Asked before the form closes; false keeps it open.
  std::function<bool()> OnCloseQuery;
  std::function<void()> OnClose;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Sets the form's font on a child.
  void UseFont(const Window& child) const;

 private:
  void HandleClose();
  void CenterMessageBox();

  UniqueFont font_;
  UniqueBrush background_;
  DWORD style_;
  DWORD exStyle_;
  bool hasMenu_;
  bool dialogKeys_;
  bool modal_ = false;
  int modalResult_ = 0;
  std::map<UINT, std::function<void()>> commands_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  std::vector<Menu*> menus_;
  UINT nextCommand_ = 100;
  UINT_PTR nextTimer_ = 1;
  std::string boxCaption_;  // the caption of the message box about to be centred
};

}  // namespace holvex
