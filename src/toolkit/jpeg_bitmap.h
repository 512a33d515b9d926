#pragma once
// Pictures stored with the program as JPEG resources, turned into bitmaps for the screen.
#include "platform/jpeg_decoder.h"
#include "toolkit/handles.h"

namespace holvex {

UniqueBitmap BitmapFromImage(const RgbImage& image);
// An RCDATA resource of the executable holding a JPEG; empty when missing or damaged.
UniqueBitmap BitmapFromJpegResource(int resourceId);

}  // namespace holvex
