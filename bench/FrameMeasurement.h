// Everything measured on one frame: the capture through the plug-in, its
// steps one by one, its peak heap use, and libpng writing the same pixels.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "bench/BenchFrames.h"
#include "bench/PluginCapture.h"

namespace glimster::bench {

// Milliseconds are medians over the runs; heap bytes the largest seen.
struct FrameMeasurement {
  std::string size;
  std::string content;
  double megapixels = 0;
  std::size_t pixel_bytes = 0;

  double command = 0;       // "Take Glimster" through the plug-in, start to end
  double command_sync = 0;  // the flushes inside it
  double host_copy = 0;     // the substitute host's own work in it: copying the rendered frame

  double naming = 0;  // the steps, with the capture library's functions
  double repack = 0;
  double encode = 0;  // LodePNG alone
  double write = 0;   // flushes excluded
  double sync = 0;
  double write_frame_as_png = 0;  // the library's whole write: repack, encode, file
  double libpng = 0;              // libpng encoding the same RGBA pixels

  std::size_t lodepng_png_bytes = 0;
  std::size_t libpng_png_bytes = 0;

  std::size_t encode_peak = 0;   // heap added by LodePNG alone, its RGBA input aside
  std::size_t capture_peak = 0;  // heap added by WriteFrameAsPng, the frame aside
  std::size_t command_peak = 0;  // heap added during the command, the host's frame copy aside
};

// Measures `frame` (shown as `content`) `runs` times, writing into `desktop`
// and emptying it after each file; throws std::runtime_error when a capture
// fails or the plug-in's file differs from LodePNG's own bytes for the frame.
FrameMeasurement MeasureFrame(PluginCapture& plugin, HostFrame& frame, Content content, int runs,
                              const std::filesystem::path& desktop);

}  // namespace glimster::bench
