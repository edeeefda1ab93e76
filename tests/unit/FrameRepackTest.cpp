#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "capture/FrameRepack.h"
#include "tests/reference/PlainRepack.h"

namespace glimster {

namespace {

ArgbFrame World(const std::vector<std::uint8_t>& bytes, std::int32_t width, std::int32_t height,
                std::int32_t row_bytes) {
  return ArgbFrame{width, height, row_bytes, bytes.data()};
}

TEST(FrameRepack, MovesAlphaLastAndDropsThePaddingAtRowEnds) {
  // 2x2 pixels, rows 12 bytes apart: 4 bytes of padding (0xEE) per row.
  std::vector<std::uint8_t> argb = {
      128, 10, 20, 30, 255, 1, 2, 3,  0xEE, 0xEE, 0xEE, 0xEE,
      0,   40, 50, 60, 7,   8, 9, 10, 0xEE, 0xEE, 0xEE, 0xEE,
  };
  RgbaImage image;
  ASSERT_EQ(RepackArgbToRgba(World(argb, 2, 2, 12), image), 0u);
  EXPECT_EQ(image.width, 2u);
  EXPECT_EQ(image.height, 2u);
  const std::vector<std::uint8_t> rgba(image.pixels.get(), image.pixels.get() + 16);
  EXPECT_EQ(rgba,
            (std::vector<std::uint8_t>{10, 20, 30, 128, 1, 2, 3, 255, 40, 50, 60, 0, 8, 9, 10, 7}));
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

// Random bytes, the same on every run.
std::vector<std::uint8_t> RandomBytes(std::size_t count, std::mt19937& random) {
  std::vector<std::uint8_t> bytes(count);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

TEST(FrameRepack, GivesThePlainByteLoopsBytesForEveryShapeAndAlignment) {
  std::mt19937 random(20161127);
  std::vector<std::size_t> widths;
  for (std::size_t width = 1; width <= 67; ++width) widths.push_back(width);
  for (std::size_t width : {101, 255, 257, 1023, 1921}) widths.push_back(width);
  constexpr std::uint8_t kGuard = 0xA5;
  constexpr std::size_t kGuardBytes = 64;

  for (const std::size_t width : widths) {
    for (const std::size_t height : {1, 2, 3, 7}) {
      for (const std::size_t padding : {0, 1, 3, 4, 12, 61}) {
        for (const std::size_t offset : {0, 1, 2, 3, 5}) {
          const std::size_t stride = width * 4 + padding;
          std::vector<std::uint8_t> source = RandomBytes(offset + stride * height, random);
          std::uint8_t* argb = source.data() + offset;
          std::vector<std::uint8_t> expected(width * height * 4);
          glimster::reference::PlainRepack(argb, width, height, stride, expected.data());

          // The destination is unaligned by the same offset and guarded on both sides.
          std::vector<std::uint8_t> target(kGuardBytes + offset + expected.size() + kGuardBytes,
                                           kGuard);
          std::uint8_t* rgba = target.data() + kGuardBytes + offset;
          RepackPixels(argb, width, height, stride, rgba);
          ASSERT_EQ(std::vector<std::uint8_t>(rgba, rgba + expected.size()), expected)
              << width << "x" << height << ", stride " << stride << ", offset " << offset;
          for (std::size_t i = 0; i < kGuardBytes + offset; ++i) ASSERT_EQ(target[i], kGuard);
          for (std::size_t i = kGuardBytes + offset + expected.size(); i < target.size(); ++i) {
            ASSERT_EQ(target[i], kGuard);
          }

          const ArgbFrame frame{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                                static_cast<std::int32_t>(stride), argb};
          RgbaImage image;
          ASSERT_EQ(RepackArgbToRgba(frame, image), 0u);
          ASSERT_EQ(
              std::vector<std::uint8_t>(image.pixels.get(), image.pixels.get() + expected.size()),
              expected)
              << width << "x" << height << ", stride " << stride;
        }
      }
    }
  }
}

}  // namespace

}  // namespace glimster
