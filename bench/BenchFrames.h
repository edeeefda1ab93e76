// The rendered frames the benchmarks capture: the host's 8-bit
// alpha-red-green-blue layout, rows padded as a host pads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/FrameRepack.h"

namespace glimster::bench {

enum class Content {
  kFlat,   // motion graphics: large uniform areas in a handful of colours
  kNoise,  // a photograph's grain over smooth gradients, with varying alpha
};

// "flat" or "noise".
const char* ContentName(Content content);

struct HostFrame {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t rowbytes = 0;
  std::vector<std::uint8_t> bytes;  // rowbytes * height

  // The frame as the capture library takes it.
  ArgbFrame Argb() const;
  // Bytes of its pixels alone: width * height * 4.
  std::size_t PixelBytes() const { return static_cast<std::size_t>(width) * height * 4; }
  // "1920x1080".
  std::string SizeLabel() const;
};

// How a frame's colours relate to its alpha.
enum class Colours {
  kPremultiplied,  // as the host renders them: the frames the benchmarks capture
  kStraight,       // as PNG defines them: the picture glimster-host --frame-png premultiplies
};

// A frame of `content`, the same picture at every size.
HostFrame MakeFrame(Content content, std::int32_t width, std::int32_t height,
                    Colours colours = Colours::kPremultiplied);

}  // namespace glimster::bench
