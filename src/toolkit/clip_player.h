#pragma once
// Plays a clip stored with the program from frames decoded once, on the window's own thread and
// timer, redrawing only what changed from one frame to the next. For a clip that runs for a
// whole transfer: the common animate control reads, converts and draws every frame whole, on a
// thread of its own, and under Wine that cost the transfer a tenth of its speed.
#include <vector>

#include "platform/avi_frames.h"
#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace holvex {

class ClipPlayer : public Window {
 public:
  void Create(HWND parent, const Rect& r);
  // Opens the clip stored under that resource name, with its background (palette entry 0) in
  // `background`; the control takes the clip's size. False when there is none or it is damaged.
  bool Open(const char* resourceName, COLORREF background);
  bool Opened() const { return count_ > 0; }
  void Play();  // from the first frame, repeating until Stop
  void Stop();
  bool Playing() const { return playing_; }
  int Frame() const { return frame_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Advance();
  void Draw(HDC dc, const ClipRect& part) const;

  UniqueBitmap frames_;  // every frame, one below the other
  std::vector<ClipRect> changed_;
  int width_ = 0, height_ = 0, count_ = 0, intervalMs_ = 0, frame_ = 0;
  bool playing_ = false;
};

}  // namespace holvex
