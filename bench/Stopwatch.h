// Wall-clock timing of one step, and the median of repeated timings.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace glimster::bench {

// Runs `step` once; gives the wall time it took, in milliseconds.
template <typename Step>
double MillisecondsOf(Step&& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace glimster::bench
