#include "capture/FrameRepack.h"

#include <cstring>
#include <limits>

#include "capture/CaptureFailures.h"

namespace glimster {

namespace {

// One pixel read as a 32-bit word in the machine's byte order, its alpha
// byte moved from first to last in memory: a rotation by one byte.
std::uint32_t MoveAlphaLast(std::uint32_t argb) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  return (argb << 8) | (argb >> 24);
#else
  return (argb >> 8) | (argb << 24);
#endif
}

// Four pixels, one 16-byte block, through a local array: a loop of fixed
// length that compilers turn into vector shifts at their usual optimisation
// level, with no alignment or aliasing checks.
void RepackFour(const std::uint8_t* argb, std::uint8_t* rgba) {
  std::uint32_t block[4];
  std::memcpy(block, argb, sizeof block);
  for (std::uint32_t& pixel : block) pixel = MoveAlphaLast(pixel);
  std::memcpy(rgba, block, sizeof block);
}

void RepackRow(const std::uint8_t* argb, std::size_t width, std::uint8_t* rgba) {
  std::size_t x = 0;
  // Four blocks a turn, independent of one another, keep the vector units busy.
  for (; width - x >= 16; x += 16) {
    RepackFour(argb + 4 * x, rgba + 4 * x);
    RepackFour(argb + 4 * x + 16, rgba + 4 * x + 16);
    RepackFour(argb + 4 * x + 32, rgba + 4 * x + 32);
    RepackFour(argb + 4 * x + 48, rgba + 4 * x + 48);
  }
  for (; x < width; ++x) {
    std::uint32_t pixel;
    std::memcpy(&pixel, argb + 4 * x, sizeof pixel);
    pixel = MoveAlphaLast(pixel);
    std::memcpy(rgba + 4 * x, &pixel, sizeof pixel);
  }
}

}  // namespace

void RepackPixels(const std::uint8_t* argb, std::size_t width, std::size_t height,
                  std::size_t stride, std::uint8_t* rgba) {
  for (std::size_t y = 0; y < height; ++y) {
    RepackRow(argb + y * stride, width, rgba + y * width * 4);
  }
}

unsigned RepackArgbToRgba(const ArgbFrame& frame, RgbaImage& image) {
  if (frame.width <= 0 || frame.height <= 0) return kEmptyFrame;
  const auto width = static_cast<std::uint64_t>(frame.width);
  const auto height = static_cast<std::uint64_t>(frame.height);
  if (frame.row_bytes < 0 || static_cast<std::uint64_t>(frame.row_bytes) < width * 4) {
    return kShortRows;
  }

  // The encoder's own size arithmetic is 32-bit in places: refuse anything larger.
  const std::uint64_t byte_count = width * height * 4;
  if (byte_count > std::numeric_limits<std::uint32_t>::max() ||
      byte_count > std::numeric_limits<std::size_t>::max()) {
    return kOutOfMemory;
  }
  image.pixels.reset(static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(byte_count))));
  if (!image.pixels) return kOutOfMemory;
  image.width = static_cast<unsigned>(width);
  image.height = static_cast<unsigned>(height);

  RepackPixels(frame.pixels, static_cast<std::size_t>(width), static_cast<std::size_t>(height),
               static_cast<std::size_t>(frame.row_bytes), image.pixels.get());
  return 0;
}

}  // namespace glimster
