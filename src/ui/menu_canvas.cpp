#include "ui/menu_canvas.h"

namespace holvex {

namespace {

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// A pixel of a top-down 32-bit DIB: blue in the lowest byte.
std::uint32_t ToDibPixel(Rgb c) {
  return static_cast<std::uint32_t>(c.b) | (static_cast<std::uint32_t>(c.g) << 8) |
         (static_cast<std::uint32_t>(c.r) << 16);
}

}  // namespace

MenuCanvas::MenuCanvas(HDC reference, int width, int height, HFONT font) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc_ = CreateCompatibleDC(reference);
  if (!bitmap_ || !dc_ || !bits) return;
  bits_ = static_cast<std::uint32_t*>(bits);
  oldBitmap_ = SelectObject(dc_, bitmap_.get());
  oldFont_ = SelectObject(dc_, font);
  oldPen_ = SelectObject(dc_, GetStockObject(DC_PEN));
  oldBrush_ = SelectObject(dc_, GetStockObject(DC_BRUSH));
  SetBkMode(dc_, TRANSPARENT);
}

MenuCanvas::~MenuCanvas() {
  if (!dc_) return;
  if (oldBitmap_) {
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldBitmap_);
  }
  DeleteDC(dc_);
}

int MenuCanvas::TextHeight(const std::string& text) const {
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cy;
}

void MenuCanvas::CopyFrom(HDC source, int sourceX, int sourceY, int x, int y, int width, int height) {
  if (Valid()) BitBlt(dc_, x, y, width, height, source, sourceX, sourceY, SRCCOPY);
}

void MenuCanvas::CopyTo(HDC target, int x, int y) const {
  if (Valid()) BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

void MenuCanvas::Run(const std::vector<DrawStep>& steps) {
  if (!Valid()) return;
  for (const DrawStep& step : steps) {
    switch (step.kind) {
      case DrawStep::Kind::Image:
        Picture(step);
        break;
      case DrawStep::Kind::Text:
        Text(step);
        break;
      default:
        Shape(step);
        break;
    }
  }
  GdiFlush();
}

void MenuCanvas::Shape(const DrawStep& step) {
  const Box& b = step.box;
  SetDCPenColor(dc_, ToColorRef(step.pen));
  SetDCBrushColor(dc_, ToColorRef(step.brush));
  switch (step.kind) {
    case DrawStep::Kind::Fill: {
      RECT rc{b.left, b.top, b.right, b.bottom};
      FillRect(dc_, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      break;
    }
    case DrawStep::Kind::Rectangle:
      Rectangle(dc_, b.left, b.top, b.right, b.bottom);
      break;
    case DrawStep::Kind::Ellipse:
      Ellipse(dc_, b.left, b.top, b.right, b.bottom);
      break;
    case DrawStep::Kind::RoundRect:
      RoundRect(dc_, b.left, b.top, b.right, b.bottom, step.corner, step.corner);
      break;
    case DrawStep::Kind::Line: {
      std::vector<POINT> points;
      for (const Point& p : step.points) points.push_back({p.x, p.y});
      Polyline(dc_, points.data(), static_cast<int>(points.size()));
      break;
    }
    default:
      break;
  }
}

void MenuCanvas::Picture(const DrawStep& step) {
  GdiFlush();  // GDI's pending work lands in the bits before we write to them
  const MenuBitmap& image = step.image;
  for (int y = 0; y < image.height; ++y) {
    const int ty = step.box.top + y;
    if (ty < 0 || ty >= height_) continue;
    for (int x = 0; x < image.width; ++x) {
      const int tx = step.box.left + x;
      const std::size_t i = static_cast<std::size_t>(y * image.width + x);
      if (tx < 0 || tx >= width_ || !step.mask[i]) continue;
      bits_[ty * width_ + tx] = ToDibPixel(step.solid ? step.brush : image.pixels[i]);
    }
  }
}

void MenuCanvas::Text(const DrawStep& step) {
  std::string text = step.text;  // DrawTextExA wants a writable buffer
  RECT rc{step.box.left, step.box.top, step.box.right, step.box.bottom};
  SetTextColor(dc_, ToColorRef(step.pen));
  UINT format = DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | (step.alignRight ? DT_RIGHT : DT_LEFT);
  DrawTextExA(dc_, text.data(), static_cast<int>(text.size()), &rc, format, nullptr);
}

}  // namespace holvex
