#include "platform/avi_frames.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace holvex {
namespace {

std::string Le(std::uint32_t v, int bytes = 4) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
  return s;
}

std::string Chunk(const std::string& id, const std::string& body) {
  return id + Le(static_cast<std::uint32_t>(body.size())) + body +
         (body.size() % 2 ? std::string(1, '\0') : "");
}

std::string List(const std::string& id, const std::string& type, const std::string& body) {
  return id + Le(static_cast<std::uint32_t>(body.size() + 4)) + type + body;
}

// A clip as the program's build writes them: 5 x 2 pixels (rows padded to 8 bytes), three
// colours, 15 frames a second.
struct Clip {
  int width = 5, height = 2, bitCount = 8, compression = 0;
  std::vector<std::string> frames{std::string("\0\1\1\1\0...\0\0\0\0\0...", 16),
                                  std::string("\0\1\1\1\0...\0\2\2\2\0...", 16),
                                  std::string("\0\1\1\1\0...\0\0\0\0\0...", 16)};

  std::string Bytes() const {
    std::string format = Le(40) + Le(width) + Le(height) + Le(1, 2) + Le(bitCount, 2) + Le(compression) +
                         Le(16) + Le(0) + Le(0) + Le(3) + Le(3) + Le(0x00FF00FF) + Le(0x00102030) +
                         Le(0x00C0C0C0);
    std::string movi;
    for (const std::string& f : frames) movi += Chunk("00db", f);
    const std::string header = Chunk("avih", Le(66666) + std::string(52, '\0'));
    const std::string streams =
        List("LIST", "strl", Chunk("strh", std::string(56, '\0')) + Chunk("strf", format));
    return List("RIFF", "AVI ",
                List("LIST", "hdrl", header + streams) + List("LIST", "movi", movi) +
                    Chunk("idx1", std::string(48, '\0')));
  }
};

// Rows are stored bottom-up: the second stored row is the picture's top one.
TEST(AviFrames, ReadsFramesAsStoredAndWhatChangedFromTheFrameBeforeTopDown) {
  const std::optional<ClipFrames> clip = ReadAviFrames(Clip{}.Bytes());
  ASSERT_TRUE(clip);
  EXPECT_EQ((std::vector<int>{clip->width, clip->height, clip->Stride(), clip->frameIntervalMs}),
            (std::vector<int>{5, 2, 8, 66}));
  ASSERT_EQ(clip->palette.size(), 256u);
  EXPECT_EQ(clip->palette[1], 0x102030u);
  EXPECT_EQ(clip->palette[3], 0u) << "colours past the stored ones are black";
  EXPECT_EQ(clip->frames, Clip{}.frames);

  const auto changed = [&](std::size_t i) {
    const ClipRect r = ChangedRect(*clip, i);
    return std::vector<int>{r.left, r.top, r.width, r.height};
  };
  EXPECT_TRUE(ChangedRect(*clip, 0).empty()) << "the first frame equals the last";
  EXPECT_EQ(changed(1), (std::vector<int>{1, 0, 3, 1}));
  EXPECT_EQ(changed(2), (std::vector<int>{1, 0, 3, 1}));
  EXPECT_TRUE(ChangedRect(*clip, 3).empty());
}

TEST(AviFrames, RefusesWhatItCannotDrawAsStored) {
  const auto refused = [](auto change) {
    Clip c;
    change(c);
    return !ReadAviFrames(c.Bytes());
  };
  EXPECT_TRUE(refused([](Clip& c) { c.bitCount = 24; }));
  EXPECT_TRUE(refused([](Clip& c) { c.compression = 1; }));  // run-length encoded
  EXPECT_TRUE(refused([](Clip& c) { c.width = 0; }));
  EXPECT_TRUE(refused([](Clip& c) { c.height = -2; }));
  EXPECT_TRUE(refused([](Clip& c) { c.frames[1].resize(15); }));
  EXPECT_TRUE(refused([](Clip& c) { c.frames.clear(); }));
  EXPECT_FALSE(ReadAviFrames("RIFF\4\0\0\0AVI "));
}

// Every cut and every single damaged byte either gives whole frames or nothing, and never reads
// outside the data (the native suite runs under the address sanitizer).
TEST(AviFrames, DamagedClipsGiveWholeFramesOrNone) {
  const std::string good = Clip{}.Bytes();
  const auto check = [](const std::string& bytes) {
    const std::optional<ClipFrames> clip = ReadAviFrames(bytes);
    if (!clip) return;
    ASSERT_EQ(clip->palette.size(), 256u);
    for (const std::string& frame : clip->frames)
      ASSERT_EQ(frame.size(), static_cast<std::size_t>(clip->Stride()) * clip->height);
    for (std::size_t i = 0; i <= clip->frames.size(); ++i) ChangedRect(*clip, i);
  };
  for (std::size_t cut = 0; cut < good.size(); ++cut) check(std::string(good.data(), cut));
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (char value : {'\0', '\x7f', '\xff'}) {
      std::string damaged = good;
      damaged[at] = value;
      check(damaged);
    }
  }
}

}  // namespace
}  // namespace holvex
