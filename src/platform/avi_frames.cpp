#include "platform/avi_frames.h"

#include <algorithm>

namespace holvex {

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxDepth = 8;
constexpr std::size_t kPaletteSize = 256;

std::uint32_t Word(std::string_view s, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i]));
  };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

std::uint16_t HalfWord(std::string_view s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1])
                                                                            << 8);
}

struct Found {
  std::uint32_t intervalUs = 0;
  std::string_view format;
  std::vector<std::string_view> frames;
};

bool IsFrameChunk(std::string_view id) { return id.substr(2) == "db" || id.substr(2) == "dc"; }

// Visits the chunks of `data`, descending into lists. A chunk that runs past its list ends the
// walk there: what came before it still counts.
void Walk(std::string_view data, Found& found, int depth) {
  std::size_t at = 0;
  while (data.size() - at >= 8) {
    const std::string_view id = data.substr(at, 4);
    const std::uint32_t length = Word(data, at + 4);
    if (length > data.size() - at - 8) return;
    const std::string_view body = data.substr(at + 8, length);
    if (id == "LIST" || id == "RIFF") {
      if (body.size() >= 4 && depth < kMaxDepth) Walk(body.substr(4), found, depth + 1);
    } else if (id == "avih" && body.size() >= 4 && found.intervalUs == 0) {
      found.intervalUs = Word(body, 0);
    } else if (id == "strf" && found.format.empty()) {
      found.format = body;
    } else if (IsFrameChunk(id)) {
      found.frames.push_back(body);
    }
    at += 8 + length + (length & 1);
    if (at > data.size()) return;
  }
}

// Size, depth and palette from the stream format (a BITMAPINFOHEADER and its colour table).
bool ReadFormat(std::string_view format, ClipFrames& clip) {
  if (format.size() < 40) return false;
  const std::uint32_t headerSize = Word(format, 0);
  const auto width = static_cast<std::int32_t>(Word(format, 4));
  const auto height = static_cast<std::int32_t>(Word(format, 8));
  if (headerSize < 40 || headerSize > format.size() || HalfWord(format, 14) != 8 || Word(format, 16) != 0)
    return false;
  if (width <= 0 || width > kMaxSide || height <= 0 || height > kMaxSide) return false;
  clip.width = width;
  clip.height = height;
  const std::uint32_t used = Word(format, 32);
  const std::size_t stored = std::min<std::size_t>((format.size() - headerSize) / 4, kPaletteSize);
  const std::size_t count = std::min<std::size_t>(used == 0 ? kPaletteSize : used, stored);
  // Indices past the stored colours show black rather than read past the table.
  clip.palette.assign(kPaletteSize, 0);
  for (std::size_t i = 0; i < count; ++i) clip.palette[i] = Word(format, headerSize + 4 * i) & 0xFFFFFF;
  return true;
}

}  // namespace

std::optional<ClipFrames> ReadAviFrames(std::string_view data) {
  if (data.size() < 12 || data.substr(0, 4) != "RIFF" || data.substr(8, 4) != "AVI ") return std::nullopt;
  Found found;
  const std::size_t length = std::min<std::size_t>(Word(data, 4), data.size() - 8);
  if (length < 4) return std::nullopt;
  Walk(data.substr(12, length - 4), found, 0);
  ClipFrames clip;
  if (found.intervalUs == 0 || found.frames.empty() || !ReadFormat(found.format, clip)) return std::nullopt;
  const std::size_t frameSize = static_cast<std::size_t>(clip.Stride()) * clip.height;
  for (std::string_view frame : found.frames) {
    if (frame.size() < frameSize) return std::nullopt;
    clip.frames.emplace_back(frame.substr(0, frameSize));
  }
  clip.frameIntervalMs = static_cast<int>(std::clamp<std::uint32_t>(found.intervalUs / 1000, 10, 10000));
  return clip;
}

ClipRect ChangedRect(const ClipFrames& clip, std::size_t index) {
  const std::size_t count = clip.frames.size();
  if (index >= count) return {};
  const std::string& now = clip.frames[index];
  const std::string& before = clip.frames[(index + count - 1) % count];
  const std::size_t stride = clip.Stride(), width = clip.width;
  int left = clip.width, right = -1, low = clip.height, high = -1;  // rows as stored: bottom-up
  for (int row = 0; row < clip.height; ++row) {
    const std::size_t start = row * stride;
    std::size_t first = 0, last = width;
    while (first < width && now[start + first] == before[start + first]) ++first;
    if (first == width) continue;
    while (last > first && now[start + last - 1] == before[start + last - 1]) --last;
    left = std::min(left, static_cast<int>(first));
    right = std::max(right, static_cast<int>(last) - 1);
    low = std::min(low, row);
    high = std::max(high, row);
  }
  if (right < 0) return {};
  return ClipRect{left, clip.height - 1 - high, right - left + 1, high - low + 1};
}

}  // namespace holvex
