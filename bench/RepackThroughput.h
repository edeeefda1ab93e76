// How fast the repack moves bytes, against memcpy moving the same bytes.
#pragma once

#include <cstddef>

#include "bench/BenchFrames.h"

namespace glimster::bench {

struct RepackThroughput {
  std::size_t bytes = 0;  // the frame's pixel bytes, each read once and written once
  // The fastest runs, on buffers already in use:
  double memcpy_gbps = 0;  // memcpy of each row
  double repack_gbps = 0;  // RepackPixels, the same buffers
  double plain_gbps = 0;   // the plain byte loop, the same buffers
  // The median runs, with memory obtained for the run as a capture does:
  double fresh_memcpy_ms = 0;  // malloc, memcpy of each row, free
  double fresh_repack_ms = 0;  // RepackArgbToRgba and freeing its image
};

// Measures the repack of `frame`, the steps taking turns over several runs.
RepackThroughput MeasureRepack(HostFrame& frame);

}  // namespace glimster::bench
