#pragma once
// Base of every window object: owns its HWND and receives its messages. Windows of our own
// classes get every message through HandleMessage; system controls get the notifications
// their parent reflects back to them (HandleCommand, HandleNotify).
#include <windows.h>

#include <string>

namespace holvex {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }

  void SetText(const std::string& text);
  std::string Text() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetVisible(bool visible);
  bool Visible() const;
  void SetBounds(const Rect& r);
  Rect Bounds() const;  // in the parent's client coordinates (screen for top-level windows)
  void Repaint();       // paint now

  static Window* FromHandle(HWND hwnd);

  // Reflected notifications; true when handled.
  virtual bool HandleCommand(WORD /*code*/) { return false; }
  virtual bool HandleNotify(NMHDR* /*hdr*/, LRESULT* /*result*/) { return false; }
  // Owner-drawn controls paint themselves; true when done.
  virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  // Background for a control's WM_CTLCOLOR* message; nullptr leaves it to the parent.
  virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }

 protected:
  // For windows of our own classes (see RegisterOwnClass).
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Creates a window of one of our own classes; `this` receives its messages from the start.
  void CreateOwn(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                 const Rect& r, HWND parent);
  // Creates a system control and attaches it to this object.
  void CreateSystem(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                    const Rect& r, HWND parent);
  void Attach(HWND hwnd);
  void Destroy();

 private:
  friend LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Reflect(UINT msg, WPARAM wp, LPARAM lp, bool* handled);
  HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

}  // namespace holvex
