// The program's message boxes, centred over a form whichever window owns them.
#include "toolkit/form.h"

namespace holvex {

int Form::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  PostMessageA(hwnd(), WM_MSGBOX_CENTER, 0, 0);
  boxCaption_ = caption;
  HWND owner = GetActiveWindow();
  if (!owner) owner = hwnd();
  return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void Form::CenterMessageBox() {
  HWND box = FindWindowA(MAKEINTATOM(0x8002), boxCaption_.c_str());
  if (!box) return;
  RECT boxRect, formRect;
  GetWindowRect(box, &boxRect);
  GetWindowRect(hwnd(), &formRect);
  const int w = boxRect.right - boxRect.left, h = boxRect.bottom - boxRect.top;
  auto place = [](int start, int extent, int size, int screen) {
    int pos = start + (extent - size) / 2;
    if (pos < 0) return 0;
    if (pos + size > screen) return screen - size;
    return pos;
  };
  int x = place(formRect.left, formRect.right - formRect.left, w, GetSystemMetrics(SM_CXSCREEN));
  int y = place(formRect.top, formRect.bottom - formRect.top, h, GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace holvex
