#pragma once
// The common animate control: plays a silent AVI clip stored as a resource of the program.
#include <string>

#include "toolkit/window.h"

namespace holvex {

class Animate : public Window {
 public:
  // The control takes the size of the clip it opens. Transparent: the clip's background colour
  // (its first pixel's) shows the parent's background instead.
  void Create(HWND parent, int left, int top, bool transparent = true);
  // Opens the clip with that resource id; false when there is none.
  bool Open(int resourceId);
  // Opens the clip stored under that resource name ("Animation1").
  bool Open(const char* resourceName);
  // Opens a clip file.
  bool OpenFile(const std::string& path);
  // Closes the clip (a clip file is then no longer held open).
  void Close();
  void Play();  // from the first frame, repeating until Stop
  void Stop();
  bool Playing() const { return playing_; }
  int Clip() const { return clip_; }

 private:
  int clip_ = 0;
  bool playing_ = false;
};

// Writes the clip stored under that resource name to `path` with its background colour (palette
// entry 0) replaced by `background`: such a copy needs no transparent drawing, which costs Wine a
// masked blit for every frame. False when the resource or the file cannot be had.
bool WriteClipOnBackground(const char* resourceName, COLORREF background, const std::string& path);

}  // namespace holvex
