#include "toolkit/jpeg_bitmap.h"

#include <cstring>

#include "toolkit/window.h"

namespace holvex {

UniqueBitmap BitmapFromImage(const RgbImage& image) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.width;
  bi.bmiHeader.biHeight = -image.height;  // top-down rows, as decoded
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  auto* dst = static_cast<unsigned char*>(bits);
  for (int y = 0; y < image.height; ++y) {
    const unsigned char* src = image.pixels.data() + static_cast<size_t>(y) * image.width * 3;
    unsigned char* row = dst + static_cast<size_t>(y) * stride;
    for (int x = 0; x < image.width; ++x) {
      row[x * 3 + 0] = src[x * 3 + 2];  // DIBs store blue first
      row[x * 3 + 1] = src[x * 3 + 1];
      row[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  return bitmap;
}

UniqueBitmap BitmapFromJpegResource(int resourceId) {
  HRSRC res = FindResourceA(ModuleInstance(), MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10));
  if (!res) return {};
  HGLOBAL data = LoadResource(ModuleInstance(), res);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return {};
  auto image = DecodeJpeg(std::string_view(static_cast<const char*>(bytes), SizeofResource(ModuleInstance(), res)));
  return image ? BitmapFromImage(*image) : UniqueBitmap{};
}

}  // namespace holvex
