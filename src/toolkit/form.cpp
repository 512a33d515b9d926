#include "toolkit/form.h"

#include <algorithm>

#include "toolkit/application.h"

namespace holvex {

Form::Form(const FormParams& params)
    : style_(params.style),
      exStyle_(params.exStyle),
      hasMenu_(params.hasMenu),
      dialogKeys_(params.dialogKeys) {
  font_ = CreatePointFont(params.fontFace, params.fontPoints);
  if (params.background != CLR_INVALID) background_.reset(CreateSolidBrush(params.background));
  RECT rc{0, 0, params.clientWidth, params.clientHeight};
  AdjustWindowRectEx(&rc, style_, hasMenu_, exStyle_);
  Application* app = nullptr;
  try {
    app = &Application::Instance();
  } catch (...) {
  }
  // Later forms are owned by the main form, so they stay above it and leave the taskbar alone.
  HWND owner = (app && app->MainForm()) ? app->MainForm()->hwnd() : nullptr;
  CreateOwn(params.className, params.caption, style_, exStyle_,
            Rect{CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top}, owner);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (app && !app->MainForm()) app->SetMainForm(this);
}

Form::~Form() {
  for (auto& [id, handler] : timers_) KillTimer(hwnd(), id);
  try {
    Application& app = Application::Instance();
    if (app.MainForm() == this) app.SetMainForm(nullptr);
  } catch (...) {
  }
}

void Form::UseFont(const Window& child) const {
  SendMessageA(child.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void Form::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  if (OnShow) OnShow();
}

void Form::Hide() { ShowWindow(hwnd(), SW_HIDE); }

int Form::ShowModal() {
  Application& app = Application::Instance();
  Form* main = app.MainForm();
  HWND owner = (main && main != this) ? main->hwnd() : nullptr;
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  modal_ = true;
  modalResult_ = 0;
  // The owner is disabled before the window shows, as the system's own dialogs do: whoever
  // sees the modal window sees the owner locked.
  if (owner) EnableWindow(owner, FALSE);
  Show();
  bool quit = false;
  int quitCode = 0;
  MSG msg;
  while (modal_ && IsWindowVisible(hwnd())) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (!app.PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  modal_ = false;
  if (owner && ownerWasEnabled) EnableWindow(owner, TRUE);
  Hide();
  if (owner) SetForegroundWindow(owner);
  // The program is ending: hand the quit on to the loop that owns it.
  if (quit) PostQuitMessage(quitCode);
  return modalResult_;
}

void Form::Close() { PostMessageA(hwnd(), WM_CLOSE, 0, 0); }

void Form::HandleClose() {
  if (OnCloseQuery && !OnCloseQuery()) return;
  if (OnClose) OnClose();
  if (modal_) {
    modal_ = false;
    Hide();
    return;
  }
  Application* app = &Application::Instance();
  if (app->MainForm() == this) {
    Hide();
    app->Terminate();
  } else {
    Hide();
  }
}

void Form::CenterOnScreen() {
  Rect b = Bounds();
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(hwnd(), nullptr, (sw - b.width) / 2, (sh - b.height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOver(const Window& other) {
  Rect o = other.Bounds(), b = Bounds();
  SetWindowPos(hwnd(), nullptr, o.x + (o.width - b.width) / 2, o.y + (o.height - b.height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetClientSize(int width, int height) {
  RECT rc{0, 0, width, height};
  AdjustWindowRectEx(&rc, style_, hasMenu_, exStyle_);
  int outerWidth = rc.right - rc.left, outerHeight = rc.bottom - rc.top;
  SetWindowPos(hwnd(), nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The estimate assumes a menu bar of one standard line; a wrapped or owner-drawn bar differs.
  RECT client;
  GetClientRect(hwnd(), &client);
  int dw = width - client.right, dh = height - client.bottom;
  if (dw != 0 || dh != 0) {
    SetWindowPos(hwnd(), nullptr, 0, 0, outerWidth + dw, outerHeight + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Form::RemoveMenu(Menu* menu) {
  menus_.erase(std::remove(menus_.begin(), menus_.end(), menu), menus_.end());
}

UINT Form::AddCommand(std::function<void()> handler) {
  UINT id = nextCommand_++;
  commands_[id] = std::move(handler);
  return id;
}

UINT_PTR Form::AddTimer(std::function<void()> handler) {
  UINT_PTR id = nextTimer_++;
  timers_[id] = std::move(handler);
  return id;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      HandleClose();
      return 0;
    case WM_MSGBOX_CENTER:
      CenterMessageBox();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case WM_ERASEBKGND:
      if (background_) {
        RECT rc;
        GetClientRect(hwnd(), &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, background_.get());
        return 1;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // Labels and pictures share the form's own background.
      if (background_) {
        LOGBRUSH lb{};
        GetObjectA(background_.get(), sizeof lb, &lb);
        SetBkColor(reinterpret_cast<HDC>(wp), lb.lbColor);
        return reinterpret_cast<LRESULT>(background_.get());
      }
      break;
    case WM_COMMAND:
      if (lp == 0) {
        auto it = commands_.find(LOWORD(wp));
        if (it != commands_.end()) {
          auto handler = it->second;  // the handler may add commands
          handler();
          return 0;
        }
      }
      break;
    case WM_TIMER: {
      auto it = timers_.find(wp);
      if (it != timers_.end()) {
        auto handler = it->second;
        handler();
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace holvex
