#include "substitute_host/FrameSources.h"

#include <random>

namespace glimster::substitute_host {
namespace {

constexpr std::uint8_t kBarLevel = 191;  // 75% of full scale

// The colour bars from the left: white, yellow, cyan, green, magenta, red, blue.
constexpr Argb kBars[] = {
    {255, kBarLevel, kBarLevel, kBarLevel},
    {255, kBarLevel, kBarLevel, 0},
    {255, 0, kBarLevel, kBarLevel},
    {255, 0, kBarLevel, 0},
    {255, kBarLevel, 0, kBarLevel},
    {255, kBarLevel, 0, 0},
    {255, 0, 0, kBarLevel},
};
constexpr A_long kBarCount = sizeof(kBars) / sizeof(kBars[0]);

// 0 at the left edge to 255 at the right edge (0 throughout a one-pixel-wide frame).
std::uint8_t RampAt(A_long x, A_long width) {
  return width == 1 ? 0 : static_cast<std::uint8_t>(x * 255 / (width - 1));
}

Argb TestCardPixel(A_long x, A_long y, A_long width, A_long height) {
  const Argb bar = kBars[x * kBarCount / width];
  const A_long quarter = y * 4 / height;
  if (quarter < 2) {
    return bar;
  }
  const std::uint8_t ramp = RampAt(x, width);
  if (quarter == 2) {
    return Argb{255, ramp, ramp, ramp};
  }
  return premultiplied(Argb{static_cast<std::uint8_t>(255 - ramp), bar.red, bar.green, bar.blue});
}

}  // namespace

Frame TestCardFrame(A_long width, A_long height) {
  Frame frame(width, height, 4 * width);
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      frame.SetPixel(x, y, TestCardPixel(x, y, width, height));
    }
  }
  return frame;
}

Frame NoiseFrame(A_long width, A_long height, std::uint32_t seed) {
  Frame frame(width, height, 4 * width);
  std::mt19937 generator(seed);
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      const std::uint32_t bits = generator();
      frame.SetPixel(
          x, y,
          premultiplied(
              Argb{static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
                   static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)}));
    }
  }
  return frame;
}

}  // namespace glimster::substitute_host
