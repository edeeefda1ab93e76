#include "substitute_host/DemoComposition.h"

#include <cstdint>

namespace glimster::substitute_host {
namespace {

constexpr A_long kWidth = 640;
constexpr A_long kHeight = 360;
constexpr A_long kRowBytes = kWidth * 4 + 64;
constexpr std::uint8_t kPadding = 0xCD;
constexpr A_Time kCurrentTime{48, 24};  // two seconds in

std::uint8_t ramp(A_long position, A_long extent) {
  return static_cast<std::uint8_t>(position * 255 / (extent - 1));
}

// Red grows to the right, green downwards, blue along the diagonal; the right
// third fades out to transparent and a stripe in the middle is half opaque;
// premultiplied, as the host renders it.
Argb DemoPixel(A_long x, A_long y) {
  const std::uint8_t red = ramp(x, kWidth);
  const std::uint8_t green = ramp(y, kHeight);
  const std::uint8_t blue = ramp((x + y) % kWidth, kWidth);
  std::uint8_t alpha = 255;
  if (x >= 2 * kWidth / 3) {
    alpha = static_cast<std::uint8_t>(255 - ramp(x - 2 * kWidth / 3, kWidth - 2 * kWidth / 3));
  } else if (y >= kHeight / 2 - 20 && y < kHeight / 2 + 20) {
    alpha = 128;
  }
  return premultiplied(Argb{alpha, red, green, blue});
}

}  // namespace

Item& AddDemoComposition(Project& project) {
  Frame frame(kWidth, kHeight, kRowBytes, kPadding);
  for (A_long y = 0; y < kHeight; ++y) {
    for (A_long x = 0; x < kWidth; ++x) {
      frame.SetPixel(x, y, DemoPixel(x, y));
    }
  }
  return project.AddComposition(u"Glimster D\u00e9mo \u2013 \u00dcn\u00efc\u00f8d\u00e9",
                                std::move(frame), kCurrentTime);
}

}  // namespace glimster::substitute_host
