// The measurements as Markdown tables on standard output.
#pragma once

#include <vector>

#include "bench/FrameMeasurement.h"
#include "bench/RepackThroughput.h"

namespace glimster::bench {

struct RepackRow {
  std::string size;
  RepackThroughput throughput;
};

// The capture through the plug-in, and the plug-in's own part of it.
void PrintCommandTable(const std::vector<FrameMeasurement>& frames);
// The capture's steps one by one, and the share of all but the encoder.
void PrintStepTable(const std::vector<FrameMeasurement>& frames);
// LodePNG and libpng on the same pixels.
void PrintEncoderTable(const std::vector<FrameMeasurement>& frames);
// The repack against memcpy, in memory in use and in memory new to the process.
void PrintRepackTable(const std::vector<RepackRow>& rows);
// Peak heap of LodePNG alone and of a capture.
void PrintMemoryTable(const std::vector<FrameMeasurement>& frames);

}  // namespace glimster::bench
