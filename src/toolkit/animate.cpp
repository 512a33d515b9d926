#include "toolkit/animate.h"

#include <commctrl.h>

#include <cstring>

#include "platform/file_io.h"

namespace holvex {

void Animate::Create(HWND parent, int left, int top, bool transparent) {
  CreateSystem(ANIMATE_CLASSA, "", WS_CHILD | WS_VISIBLE | (transparent ? ACS_TRANSPARENT : 0), 0,
               Rect{left, top, 0, 0}, parent);
}

bool Animate::Open(int resourceId) {
  playing_ = false;
  bool opened = SendMessageA(hwnd(), ACM_OPENA, reinterpret_cast<WPARAM>(ModuleInstance()),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(resourceId))) != 0;
  clip_ = opened ? resourceId : 0;
  return opened;
}

bool Animate::Open(const char* resourceName) {
  playing_ = false;
  clip_ = 0;
  return SendMessageA(hwnd(), ACM_OPENA, reinterpret_cast<WPARAM>(ModuleInstance()),
                      reinterpret_cast<LPARAM>(resourceName)) != 0;
}

bool Animate::OpenFile(const std::string& path) {
  playing_ = false;
  clip_ = 0;
  return SendMessageA(hwnd(), ACM_OPENA, 0, reinterpret_cast<LPARAM>(path.c_str())) != 0;
}

void Animate::Close() {
  SendMessageA(hwnd(), ACM_OPENA, 0, 0);
  playing_ = false;
  clip_ = 0;
}

void Animate::Play() {
  playing_ = SendMessageA(hwnd(), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)) != 0;
}

void Animate::Stop() {
  SendMessageA(hwnd(), ACM_STOP, 0, 0);
  playing_ = false;
}

bool WriteClipOnBackground(const char* resourceName, COLORREF background, const std::string& path) {
  HRSRC found = FindResourceA(ModuleInstance(), resourceName, "AVI");
  HGLOBAL loaded = found ? LoadResource(ModuleInstance(), found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  std::string clip(static_cast<const char*>(data), SizeofResource(ModuleInstance(), found));
  // The stream format: "strf", its size, a BITMAPINFOHEADER, then the palette as B, G, R, 0.
  const size_t format = clip.find("strf");
  if (format == std::string::npos || format + 8 + sizeof(BITMAPINFOHEADER) + 4 > clip.size()) return false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, clip.data() + format + 8, sizeof header);
  const size_t entry = format + 8 + header.biSize;
  if (header.biBitCount != 8 || header.biSize < sizeof header || entry + 4 > clip.size()) return false;
  clip[entry] = static_cast<char>(GetBValue(background));
  clip[entry + 1] = static_cast<char>(GetGValue(background));
  clip[entry + 2] = static_cast<char>(GetRValue(background));
  try {
    WriteFileReplacing(path, clip);
  } catch (const FileWriteError&) {
    return false;
  }
  return true;
}

}  // namespace holvex
