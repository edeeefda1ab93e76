// The rendered 8-bit frame, as the host lays it out, turned into the tightly
// packed RGBA image the PNG encoder takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace glimster {

struct FreeBytes {
  void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};

// A rendered 8-bit frame as the host lays it out: rows of alpha-red-green-
// blue pixels, top row first, `row_bytes` apart, its sizes as the host gave
// them.
struct ArgbFrame {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t row_bytes = 0;  // from the start of one row to the next's
  const std::uint8_t* pixels = nullptr;
};

struct RgbaImage {
  std::unique_ptr<std::uint8_t[], FreeBytes> pixels;  // width * height * 4 bytes
  unsigned width = 0;
  unsigned height = 0;
};

// Repacks `frame` into `image`, one allocation sized exactly, one pass. Gives 0, or
// the PNG library's code for what stopped it: 93 for an empty frame, 84 for a
// row stride shorter than a row, 83 for a frame too large to hold or to
// allocate. Nothing is read or written outside either buffer.
unsigned RepackArgbToRgba(const ArgbFrame& frame, RgbaImage& image);

// Writes `width` x `height` pixels of alpha-red-green-blue rows, `stride`
// bytes apart, to `rgba` as tightly packed red-green-blue-alpha. Neither
// pointer needs any alignment; the two buffers must not overlap.
void RepackPixels(const std::uint8_t* argb, std::size_t width, std::size_t height,
                  std::size_t stride, std::uint8_t* rgba);

}  // namespace glimster
