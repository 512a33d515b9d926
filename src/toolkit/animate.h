#pragma once
// The common animate control: plays a silent AVI clip stored as a resource of the program.
#include "toolkit/window.h"

namespace holvex {

class Animate : public Window {
 public:
  // The control takes the size of the clip it opens.
  void Create(HWND parent, int left, int top);
  // Opens the clip with that resource id; false when there is none.
  bool Open(int resourceId);
  // Opens the clip stored under that resource name ("Animation1").
  bool Open(const char* resourceName);
  void Play();  // from the first frame, repeating until Stop
  void Stop();
  bool Playing() const { return playing_; }
  int Clip() const { return clip_; }

 private:
  int clip_ = 0;
  bool playing_ = false;
};

}  // namespace holvex
