// How fast the repack moves bytes, against memcpy moving the same bytes.
#pragma once

#include <cstddef>

#include "bench/BenchFrames.h"

namespace glimster::bench {

struct RepackThroughput {
  std::size_t bytes = 0;      // the frame's pixel bytes, each read once and written once
  double memcpy_gbps = 0;     // memcpy of each row, into a buffer already in use
  double repack_gbps = 0;     // RepackPixels, the same buffers
  double plain_gbps = 0;      // the plain byte loop, the same buffers
  double fresh_memcpy_ms = 0; // malloc, memcpy of each row, free: memory new to the process
  double fresh_repack_ms = 0; // RepackArgbToRgba and freeing its image, as a capture does
};

// Measures the repack of `frame` (the median of several runs of each).
RepackThroughput MeasureRepack(HostFrame& frame);

}  // namespace glimster::bench
