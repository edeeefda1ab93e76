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

void PrintTimeTable(const std::vector<FrameMeasurement>& frames);
void PrintEncoderTable(const std::vector<FrameMeasurement>& frames);
void PrintRepackTable(const std::vector<RepackRow>& rows);
void PrintMemoryTable(const std::vector<FrameMeasurement>& frames);

}  // namespace glimster::bench
