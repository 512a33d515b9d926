#pragma once
// The off-screen canvas one menu item is painted on: a 32-bit DIB shared by GDI (shapes,
// text) and direct pixel writes (pictures), copied to the menu in one operation.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/handles.h"
#include "ui/menu_item_plan.h"

namespace holvex {

class MenuCanvas {
 public:
  MenuCanvas(HDC reference, int width, int height, HFONT font);
  ~MenuCanvas();
  MenuCanvas(const MenuCanvas&) = delete;
  MenuCanvas& operator=(const MenuCanvas&) = delete;

  bool Valid() const { return bits_ != nullptr; }
  int TextHeight(const std::string& text) const;
  // Copies a part of `source` to the same place on the canvas.
  void CopyFrom(HDC source, int sourceX, int sourceY, int x, int y, int width, int height);
  void Run(const std::vector<DrawStep>& steps);
  void CopyTo(HDC target, int x, int y) const;

 private:
  void Shape(const DrawStep& step);
  void Picture(const DrawStep& step);
  void Text(const DrawStep& step);

  UniqueBitmap bitmap_;
  HDC dc_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr, oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace holvex
