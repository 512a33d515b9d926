#include "toolkit/clip_player.h"

#include <string_view>

namespace holvex {

namespace {

constexpr UINT_PTR kFrameTimer = 1;

std::string_view AviResource(const char* name) {
  HRSRC found = FindResourceA(ModuleInstance(), name, "AVI");
  HGLOBAL loaded = found ? LoadResource(ModuleInstance(), found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const char*>(data), SizeofResource(ModuleInstance(), found)};
}

// The frames in colour, one below the other, top-down.
UniqueBitmap FramesBitmap(const ClipFrames& clip) {
  const int total = clip.height * static_cast<int>(clip.frames.size());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = clip.width;
  info.bmiHeader.biHeight = -total;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  auto* out = static_cast<std::uint32_t*>(bits);
  for (const std::string& frame : clip.frames) {
    for (int y = 0; y < clip.height; ++y) {
      const char* row = frame.data() + static_cast<std::size_t>(clip.height - 1 - y) * clip.Stride();
      for (int x = 0; x < clip.width; ++x) *out++ = clip.palette[static_cast<unsigned char>(row[x])];
    }
  }
  GdiFlush();
  return bitmap;
}

}  // namespace

void ClipPlayer::Create(HWND parent, const Rect& r) {
  CreateOwn("THolvexClip", "", WS_CHILD | WS_VISIBLE, 0, r, parent);
}

bool ClipPlayer::Open(const char* resourceName, COLORREF background) {
  Stop();
  std::optional<ClipFrames> clip = ReadAviFrames(AviResource(resourceName));
  if (!clip) return false;
  clip->palette[0] = GetRValue(background) << 16 | GetGValue(background) << 8 | GetBValue(background);
  frames_ = FramesBitmap(*clip);
  if (!frames_) return false;
  width_ = clip->width;
  height_ = clip->height;
  count_ = static_cast<int>(clip->frames.size());
  intervalMs_ = clip->frameIntervalMs;
  changed_.clear();
  for (int i = 0; i < count_; ++i) changed_.push_back(ChangedRect(*clip, i));
  frame_ = 0;
  SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
  return true;
}

void ClipPlayer::Play() {
  if (!Opened()) return;
  frame_ = 0;
  InvalidateRect(hwnd(), nullptr, FALSE);
  playing_ = SetTimer(hwnd(), kFrameTimer, intervalMs_, nullptr) != 0;
}

void ClipPlayer::Stop() {
  if (playing_) KillTimer(hwnd(), kFrameTimer);
  playing_ = false;
}

void ClipPlayer::Advance() {
  frame_ = (frame_ + 1) % count_;
  // Nothing to draw where nobody can see it; showing the window again repaints it whole.
  if (!IsWindowVisible(hwnd()) || IsIconic(GetAncestor(hwnd(), GA_ROOT))) return;
  HDC dc = GetDC(hwnd());
  Draw(dc, changed_[frame_]);
  ReleaseDC(hwnd(), dc);
}

void ClipPlayer::Draw(HDC dc, const ClipRect& part) const {
  if (part.empty()) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, frames_.get());
  BitBlt(dc, part.left, part.top, part.width, part.height, source, part.left, frame_ * height_ + part.top,
         SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

LRESULT ClipPlayer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp != kFrameTimer || !playing_) break;
      Advance();
      return 0;
    case WM_ERASEBKGND:
      return Opened() ? 1 : Window::HandleMessage(msg, wp, lp);
    case WM_PAINT: {
      if (!Opened()) break;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Draw(dc, ClipRect{0, 0, width_, height_});
      EndPaint(hwnd(), &ps);
      return 0;
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace holvex
