// Frame repacking under random geometry: width, height and row stride of
// every sign and size, odd strides, misaligned pixel addresses, random
// pixels. Aborts unless a frame that can be read is repacked exactly as the
// plain byte loop does, and every other one is refused with the right code.
// The frame's bytes sit in a block of exactly the size its geometry covers,
// so that a read past them is caught.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "capture/FrameRepack.h"
#include "fuzz/FuzzCheck.h"
#include "tests/reference/PlainRepack.h"

namespace glimster {

namespace {

constexpr unsigned kEmptyFrame = 93;
constexpr unsigned kShortRows = 84;
constexpr unsigned kTooLarge = 83;

// Largest frame handed over, in bytes: room for shapes of every kind,
// small enough for many runs a second.
constexpr std::uint64_t kLargestFrameBytes = 1u << 20;

struct Geometry {
  std::int32_t width;
  std::int32_t height;
  std::int32_t rowbytes;
};

// Either a frame near the sizes that can be read (the usual case), or any
// 32-bit values at all.
Geometry RandomGeometry(FuzzedDataProvider& input) {
  if (input.ConsumeIntegralInRange<int>(0, 7) == 0) {
    return {input.ConsumeIntegral<std::int32_t>(), input.ConsumeIntegral<std::int32_t>(),
            input.ConsumeIntegral<std::int32_t>()};
  }
  Geometry geometry{};
  geometry.width = input.ConsumeIntegralInRange<std::int32_t>(-2, 300);
  geometry.height = input.ConsumeIntegralInRange<std::int32_t>(-2, 40);
  geometry.rowbytes = 4 * geometry.width + input.ConsumeIntegralInRange<std::int32_t>(-9, 72);
  if (input.ConsumeIntegralInRange<int>(0, 15) == 0) geometry.rowbytes = -geometry.rowbytes;
  return geometry;
}

bool Refused(unsigned code, const Geometry& g) {
  if (g.width <= 0 || g.height <= 0) return code == kEmptyFrame;
  const bool short_rows =
      static_cast<std::int64_t>(g.rowbytes) < 4 * static_cast<std::int64_t>(g.width);
  const bool too_large =
      static_cast<std::uint64_t>(g.width) * static_cast<std::uint64_t>(g.height) * 4 >
      std::numeric_limits<std::uint32_t>::max();
  // A frame with both faults may be refused for either.
  if (short_rows && too_large) return code == kShortRows || code == kTooLarge;
  if (short_rows) return code == kShortRows;
  if (too_large) return code == kTooLarge;
  return false;
}

bool Readable(const Geometry& g) {
  return g.width > 0 && g.height > 0 &&
         static_cast<std::int64_t>(g.rowbytes) >= 4 * static_cast<std::int64_t>(g.width) &&
         static_cast<std::uint64_t>(g.width) * static_cast<std::uint64_t>(g.height) * 4 <=
             std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Geometry geometry = RandomGeometry(input);
  const auto misalignment = input.ConsumeIntegralInRange<std::size_t>(0, 15);
  const std::vector<std::uint8_t> pixel_bytes = input.ConsumeRemainingBytes<std::uint8_t>();

  // The bytes the frame covers: every row but the last in full, the last
  // only as far as its pixels go. A refused frame gets none at all.
  std::uint64_t frame_bytes = 0;
  if (Readable(geometry)) {
    frame_bytes = static_cast<std::uint64_t>(geometry.height - 1) *
                      static_cast<std::uint64_t>(geometry.rowbytes) +
                  4 * static_cast<std::uint64_t>(geometry.width);
    if (frame_bytes > kLargestFrameBytes) return -1;  // not kept in the corpus
  }
  const auto block_size = static_cast<std::size_t>(misalignment + frame_bytes);
  const std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[block_size]);
  std::uint8_t* const frame = block.get() + misalignment;
  for (std::size_t i = 0; i < frame_bytes; ++i) {
    frame[i] = pixel_bytes.empty() ? static_cast<std::uint8_t>(i * 131 + 7)
                                   : pixel_bytes[i % pixel_bytes.size()];
  }

  const ArgbFrame argb{geometry.width, geometry.height, geometry.rowbytes, frame};
  RgbaImage image;
  const unsigned code = RepackArgbToRgba(argb, image);

  if (!Readable(geometry)) {
    FUZZ_CHECK(Refused(code, geometry));
    return 0;
  }
  FUZZ_CHECK(code == 0);
  FUZZ_CHECK(image.pixels != nullptr);
  FUZZ_CHECK(image.width == static_cast<unsigned>(geometry.width));
  FUZZ_CHECK(image.height == static_cast<unsigned>(geometry.height));
  const std::size_t width = static_cast<std::size_t>(geometry.width);
  const std::size_t height = static_cast<std::size_t>(geometry.height);
  std::vector<std::uint8_t> expected(width * height * 4);
  glimster::reference::PlainRepack(frame, width, height,
                                   static_cast<std::size_t>(geometry.rowbytes), expected.data());
  FUZZ_CHECK(std::memcmp(image.pixels.get(), expected.data(), expected.size()) == 0);
  return 0;
}

}  // namespace glimster

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return glimster::FuzzOneInput(data, size);
}
