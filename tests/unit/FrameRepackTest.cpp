#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/FrameRepack.h"

namespace {

PF_EffectWorld World(std::vector<std::uint8_t>& bytes, A_long width, A_long height, A_long rowbytes) {
  PF_EffectWorld world{};
  world.data = bytes.data();
  world.width = width;
  world.height = height;
  world.rowbytes = rowbytes;
  return world;
}

TEST(FrameRepack, MovesAlphaLastAndDropsThePaddingAtRowEnds) {
  // 2x2 pixels, rows 12 bytes apart: 4 bytes of padding (0xEE) per row.
  std::vector<std::uint8_t> argb = {
      128, 10, 20, 30,   255, 1, 2, 3,     0xEE, 0xEE, 0xEE, 0xEE,
      0,   40, 50, 60,   7,   8, 9, 10,    0xEE, 0xEE, 0xEE, 0xEE,
  };
  RgbaImage image;
  ASSERT_EQ(RepackArgbToRgba(World(argb, 2, 2, 12), image), 0u);
  EXPECT_EQ(image.width, 2u);
  EXPECT_EQ(image.height, 2u);
  const std::vector<std::uint8_t> rgba(image.pixels.get(), image.pixels.get() + 16);
  EXPECT_EQ(rgba, (std::vector<std::uint8_t>{10, 20, 30, 128, 1, 2, 3, 255,
                                             40, 50, 60, 0, 8, 9, 10, 7}));
}

TEST(FrameRepack, RefusesFramesItCannotReadSafely) {
  std::vector<std::uint8_t> argb(64, 0);
  RgbaImage image;
  EXPECT_EQ(RepackArgbToRgba(World(argb, 0, 4, 16), image), 93u);
  EXPECT_EQ(RepackArgbToRgba(World(argb, 4, -1, 16), image), 93u);
  EXPECT_EQ(RepackArgbToRgba(World(argb, 4, 4, 15), image), 84u);
  EXPECT_EQ(RepackArgbToRgba(World(argb, 4, 4, -16), image), 84u);
  EXPECT_FALSE(image.pixels);
}

TEST(FrameRepack, AFrameWhoseByteCountExceeds32BitsIsRefusedBeforeAnyRead) {
  std::vector<std::uint8_t> argb(16, 0);
  RgbaImage image;
  // 32768 x 32768 x 4 = 2^32 bytes: one more than fits.
  EXPECT_EQ(RepackArgbToRgba(World(argb, 32768, 32768, 32768 * 4), image), 83u);
  EXPECT_FALSE(image.pixels);
}

}  // namespace
