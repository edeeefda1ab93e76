// The capture's steps, taken one by one with the capture library's own
// functions on the frame the plug-in captures: naming, repacking, encoding
// with LodePNG, and putting the file in place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bench/BenchFrames.h"

namespace glimster::bench {

struct StepTimes {
  double naming = 0;  // ms: the output path, desktop lookup included
  double repack = 0;  // ms: allocating the RGBA image, repacking into it, freeing it
  double encode = 0;  // ms: lodepng_encode32 of the RGBA image (LodePNG alone)
  double write = 0;   // ms: the file replace, its flushes excluded, and freeing the PNG bytes
  double sync = 0;    // ms: the file replace's flushes to stable storage
  std::size_t encode_peak = 0;  // heap bytes the encoder added at most, its input aside
  std::vector<unsigned char> png;
  std::string path;  // the file written
};

// Takes the steps for `frame`, named `name`, as the plug-in does; throws
// std::runtime_error when a step fails.
StepTimes TimeCaptureSteps(HostFrame& frame, const std::u16string& name);

struct WholeCapture {
  double milliseconds = 0;
  std::size_t peak = 0;  // heap bytes added at most, the frame aside
};

// Writes `frame` to `path` with the capture library's WriteFrameAsPng, the
// call the plug-in makes once the frame is rendered; throws
// std::runtime_error when it fails.
WholeCapture TimeWriteFrameAsPng(HostFrame& frame, const std::string& path);

}  // namespace glimster::bench
