#include "platform/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace holvex {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
  // libjpeg must not end the process: jump back to the decoder.
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}

// Kept free of objects with destructors between setjmp and longjmp.
bool DecodeInto(const unsigned char* data, unsigned long size, RgbImage* out) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnFatalError;
  errors.base.output_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width > 16384 || info.output_height > 16384) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  out->width = static_cast<int>(info.output_width);
  out->height = static_cast<int>(info.output_height);
  out->pixels.resize(static_cast<size_t>(out->width) * out->height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out->pixels.data() + static_cast<size_t>(info.output_scanline) * out->width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  RgbImage image;
  if (!DecodeInto(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                  &image))
    return std::nullopt;
  return image;
}

}  // namespace holvex
