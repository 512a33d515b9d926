#include "toolkit/application.h"

#include <stdexcept>

#include "toolkit/form.h"

namespace holvex {

namespace {
Application* g_instance = nullptr;
}

Application::Application() {
  if (g_instance) throw std::logic_error("one Application per process");
  g_instance = this;
}

Application::~Application() { g_instance = nullptr; }

Application* Application::Current() { return g_instance; }

Application& Application::Instance() {
  if (!g_instance) throw std::logic_error("no Application");
  return *g_instance;
}

bool Application::PreTranslate(MSG& msg) {
  HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  auto* form = dynamic_cast<Form*>(Window::FromHandle(top));
  return form && form->WantsDialogKeys() && IsDialogMessageA(top, &msg);
}

void Application::Dispatch(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Application::ProcessMessagesIfDue(unsigned intervalMs) {
  if (GetTickCount() - lastProcessed_ >= intervalMs) ProcessMessages();
}

void Application::ProcessMessages() {
  lastProcessed_ = GetTickCount();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      exitCode_ = static_cast<int>(msg.wParam);
      PostQuitMessage(exitCode_);  // leave it for the loop that owns the program's end
      return;
    }
    Dispatch(msg);
  }
}

int Application::Run() {
  MSG msg;
  while (!terminated_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      if (got == 0) exitCode_ = static_cast<int>(msg.wParam);
      break;
    }
    Dispatch(msg);
  }
  terminated_ = true;
  return exitCode_;
}

void Application::ReportHandlerError(const std::string& text) {
  // A handler that fails again while its error is being shown (a paint behind the box, say)
  // is not reported a second time: one box, not a cascade.
  static bool reporting = false;
  if (reporting || !OnHandlerError) return;
  reporting = true;
  try {
    OnHandlerError(text);
  } catch (...) {
  }
  reporting = false;
}

void Application::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

}  // namespace holvex
