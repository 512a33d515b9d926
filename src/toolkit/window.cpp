#include "toolkit/window.h"

#include <exception>
#include <set>
#include <string>

#include "toolkit/application.h"
#include "toolkit/handles.h"

namespace holvex {

namespace {
constexpr const char* kObjectProp = "HolvexWindowObject";

void RegisterOwnClass(const char* className);

// The answer to a message whose handler failed. The system's default is safe for nearly
// every message, but not for a close request: it would destroy the window and leave the
// program running without one. A failed close leaves the window as it is.
LRESULT SafeResultAfterError(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) return 0;
  return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

UniqueFont CreatePointFont(const char* face, int points, bool bold) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return UniqueFont(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, face));
}

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProp, self);
  }
  Window* self = Window::FromHandle(hwnd);
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kObjectProp);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  // Nothing thrown by a handler may cross into the system's code; what was thrown is reported
  // once the message has its answer.
  std::string error;
  try {
    bool handled = false;
    LRESULT r = self->Reflect(msg, wp, lp, &handled);
    if (handled) return r;
    return self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "Unbekannter Fehler";
  }
  LRESULT safe = SafeResultAfterError(hwnd, msg, wp, lp);
  if (Application* app = Application::Current()) app->ReportHandlerError(error);
  return safe;
}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  RemovePropA(h, kObjectProp);
  hwnd_ = nullptr;
  if (IsWindow(h)) DestroyWindow(h);
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

LRESULT Window::Reflect(UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
  if (msg == WM_COMMAND && lp != 0) {
    Window* child = FromHandle(reinterpret_cast<HWND>(lp));
    if (child && child != this) *handled = child->HandleCommand(HIWORD(wp));
    return 0;
  }
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) {
    Window* child = FromHandle(reinterpret_cast<HWND>(lp));
    HBRUSH brush = (child && child != this) ? child->ControlColor(reinterpret_cast<HDC>(wp)) : nullptr;
    *handled = brush != nullptr;
    return reinterpret_cast<LRESULT>(brush);
  }
  if (msg == WM_DRAWITEM) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    if (item->CtlType == ODT_MENU) return 0;  // menus are drawn by their form
    Window* child = FromHandle(item->hwndItem);
    *handled = child && child != this && child->DrawItem(*item);
    return *handled ? TRUE : 0;
  }
  if (msg == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    Window* child = FromHandle(hdr->hwndFrom);
    LRESULT result = 0;
    if (child && child != this) *handled = child->HandleNotify(hdr, &result);
    return result;
  }
  return 0;
}

void Window::CreateOwn(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                       const Rect& r, HWND parent) {
  RegisterOwnClass(className);
  HMENU id = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(0)) : nullptr;
  CreateWindowExA(exStyle, className, text.c_str(), style, r.x, r.y, r.width, r.height, parent, id,
                  ModuleInstance(), this);
}

void Window::CreateSystem(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                          const Rect& r, HWND parent) {
  HWND h = CreateWindowExA(exStyle, className, text.c_str(), style, r.x, r.y, r.width, r.height, parent,
                           nullptr, ModuleInstance(), nullptr);
  Attach(h);
  // Controls take the font of the form they sit on.
  if (h && parent) {
    LRESULT font = SendMessageA(GetAncestor(parent, GA_ROOT), WM_GETFONT, 0, 0);
    if (font) SendMessageA(h, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  }
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  if (hwnd_) SetPropA(hwnd_, kObjectProp, this);
}

void Window::SetText(const std::string& text) {
  if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

std::string Window::Text() const {
  if (!hwnd_) return {};
  int n = GetWindowTextLengthA(hwnd_);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

void Window::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}
bool Window::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Window::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}
bool Window::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Window::SetBounds(const Rect& r) {
  if (hwnd_) MoveWindow(hwnd_, r.x, r.y, r.width, r.height, TRUE);
}

Rect Window::Bounds() const {
  RECT rc{};
  if (!hwnd_) return {};
  GetWindowRect(hwnd_, &rc);
  HWND parent = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr;
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

void Window::Repaint() {
  if (hwnd_) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
  }
}

namespace {

void RegisterOwnClass(const char* className) {
  static std::set<std::string> registered;
  if (!registered.insert(className).second) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = OwnWindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.hIcon = LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(1));
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
}

}  // namespace

}  // namespace holvex
