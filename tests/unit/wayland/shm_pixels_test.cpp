// Screen copies in any 32-bit RGB order and either way up become the same picture; frames go into
// buffers only where asked.
#include <gtest/gtest.h>

#include <vector>

#include "saver/shm_pixels_wayland.h"

namespace kovaren::wayland {
namespace {

TEST(ShmPixels, ReadsEveryRgbOrderAndEitherWayUp) {
  // Two rows of one pixel each (stride 2: the second value of each row is padding).
  const Pixel top = Rgb(0x11, 0x22, 0x33), bottom = Rgb(0xA0, 0xB0, 0xC0);
  struct Case {
    uint32_t format;
    std::vector<uint32_t> memory;
    bool yInvert;
  } cases[] = {
      {kShmXrgb8888, {0xFF112233, 0xDEAD, 0x00A0B0C0, 0xDEAD}, false},
      {kShmArgb8888, {0x80112233, 0xDEAD, 0x7FA0B0C0, 0xDEAD}, false},
      {kShmXbgr8888, {0x00332211, 0xDEAD, 0xFFC0B0A0, 0xDEAD}, false},
      {kShmAbgr8888, {0xFFC0B0A0, 0xDEAD, 0x00332211, 0xDEAD}, true},
      {kShmXrgb8888, {0x00A0B0C0, 0xDEAD, 0x00112233, 0xDEAD}, true},
  };
  for (const Case& c : cases) {
    const auto picture = ReadShmPicture(c.memory, 1, 2, 2, c.format, c.yInvert);
    ASSERT_TRUE(picture) << std::hex << c.format;
    EXPECT_EQ(picture->at(0, 0), top) << std::hex << c.format;
    EXPECT_EQ(picture->at(0, 1), bottom) << std::hex << c.format;
  }
}

TEST(ShmPixels, RefusesWhatItCannotRead) {
  const std::vector<uint32_t> memory(8, 0);
  constexpr uint32_t kRgb565 = 0x36314752;  // "RG16": 16-bit pixels
  EXPECT_FALSE(ReadShmPicture(memory, 2, 2, 2, kRgb565, false));
  EXPECT_FALSE(ReadShmPicture(memory, 2, 5, 2, kShmXrgb8888, false));  // more rows than the memory holds
  EXPECT_FALSE(ReadShmPicture(memory, 3, 2, 2, kShmXrgb8888, false));  // a stride shorter than a row
  EXPECT_FALSE(ReadShmPicture(memory, 0, 2, 2, kShmXrgb8888, false));
}

TEST(ShmPixels, WritesOnlyTheRectanglesAsked) {
  PixelBuffer frame(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) frame.set(x, y, Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7));
  constexpr uint32_t kUntouched = 0xEEEEEEEE;
  constexpr int kStride = 5;
  std::vector<uint32_t> buffer(kStride * 3, kUntouched);
  const Rect rects[] = {{1, 0, 2, 2}, {3, 2, 4, 4}};  // the second reaches past the frame
  WriteShmRects(frame, rects, buffer.data(), kStride);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < kStride; ++x) {
      const bool written = (x >= 1 && x < 3 && y < 2) || (x == 3 && y == 2);
      EXPECT_EQ(buffer[y * kStride + x], written ? frame.at(x, y) : kUntouched) << x << "," << y;
    }
}

}  // namespace
}  // namespace kovaren::wayland
