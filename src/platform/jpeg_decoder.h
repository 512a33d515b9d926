#pragma once
// JPEG pictures decoded with libjpeg into 8-bit RGB rows.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace holvex {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes (R, G, B) per pixel
};

// nullopt for anything that is not a decodable JPEG (never aborts the program).
std::optional<RgbImage> DecodeJpeg(std::string_view bytes);

}  // namespace holvex
