#include "toolkit/progress_bar.h"

#include <commctrl.h>

namespace holvex {

void ProgressBar::Create(HWND parent, const Rect& r, bool smooth) {
  CreateSystem(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | (smooth ? PBS_SMOOTH : 0), 0, r, parent);
}

void ProgressBar::SetRange(int min, int max) { SendMessageA(hwnd(), PBM_SETRANGE32, min, max); }
void ProgressBar::SetStep(int step) { SendMessageA(hwnd(), PBM_SETSTEP, step, 0); }
void ProgressBar::StepIt() { SendMessageA(hwnd(), PBM_STEPIT, 0, 0); }
void ProgressBar::SetPosition(int position) { SendMessageA(hwnd(), PBM_SETPOS, position, 0); }
int ProgressBar::Position() const { return static_cast<int>(SendMessageA(hwnd(), PBM_GETPOS, 0, 0)); }

}  // namespace holvex
