#pragma once
// The frames of a silent AVI clip of uncompressed 8-bit pictures with a palette, the kind the
// program stores for its animations. Read once, they can be drawn from memory.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace holvex {

struct ClipRect {
  int left = 0, top = 0, width = 0, height = 0;  // top-down, in pixels
  bool empty() const { return width <= 0 || height <= 0; }
};

struct ClipFrames {
  int width = 0, height = 0;
  int frameIntervalMs = 0;
  // B, G, R, 0 as a little-endian word, as in a DIB's colour table.
  std::vector<std::uint32_t> palette;
  // Each frame as stored: bottom-up rows of `Stride()` bytes of palette indices.
  std::vector<std::string> frames;

  int Stride() const { return (width + 3) & ~3; }
};

// The frames of `clip`; nullopt when it is no such clip or is damaged.
std::optional<ClipFrames> ReadAviFrames(std::string_view clip);

// The part of frame `index` that differs from the frame before it (the last frame before the
// first), so that a player redraws only what moved.
ClipRect ChangedRect(const ClipFrames& clip, std::size_t index);

}  // namespace holvex
