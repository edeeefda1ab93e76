#include "bench/RepackThroughput.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "bench/Stopwatch.h"
#include "capture/FrameRepack.h"
#include "tests/reference/PlainRepack.h"

namespace glimster::bench {
namespace {

constexpr int kRuns = 15;

// Runs the steps in turn, kRuns times over after one untimed turn; gives
// each step's fastest time in milliseconds, or its median with `median`.
// Taking turns spreads whatever else the machine does over all steps alike.
template <typename... Steps>
std::vector<double> Interleaved(bool median, Steps&&... steps) {
  (steps(), ...);
  std::vector<std::vector<double>> runs(sizeof...(Steps));
  for (int run = 0; run < kRuns; ++run) {
    std::size_t index = 0;
    ((runs[index++].push_back(MillisecondsOf(steps))), ...);
  }
  std::vector<double> result;
  for (const std::vector<double>& step_runs : runs) {
    result.push_back(median ? Median(step_runs)
                            : *std::min_element(step_runs.begin(), step_runs.end()));
  }
  return result;
}

double GigabytesPerSecond(std::size_t bytes, double milliseconds) {
  return bytes / milliseconds / 1e6;
}

void CopyRows(const HostFrame& frame, std::uint8_t* rgba) {
  const std::size_t row = static_cast<std::size_t>(frame.width) * 4;
  for (std::int32_t y = 0; y < frame.height; ++y) {
    std::memcpy(rgba + y * row, frame.bytes.data() + static_cast<std::size_t>(y) * frame.rowbytes,
                row);
  }
}

}  // namespace

RepackThroughput MeasureRepack(HostFrame& frame) {
  RepackThroughput result;
  result.bytes = frame.PixelBytes();
  const auto width = static_cast<std::size_t>(frame.width);
  const auto height = static_cast<std::size_t>(frame.height);
  const auto stride = static_cast<std::size_t>(frame.rowbytes);
  std::vector<std::uint8_t> rgba(result.bytes);
  std::vector<std::uint8_t> plain(result.bytes);

  const std::vector<double> warm = Interleaved(
      false, [&] { CopyRows(frame, rgba.data()); },
      [&] { RepackPixels(frame.bytes.data(), width, height, stride, rgba.data()); },
      [&] { reference::PlainRepack(frame.bytes.data(), width, height, stride, plain.data()); });
  result.memcpy_gbps = GigabytesPerSecond(result.bytes, warm[0]);
  result.repack_gbps = GigabytesPerSecond(result.bytes, warm[1]);
  result.plain_gbps = GigabytesPerSecond(result.bytes, warm[2]);
  if (rgba != plain)
    throw std::runtime_error("the repack and the plain loop disagree on " + frame.SizeLabel());

  volatile std::uint8_t sink = 0;
  const std::vector<double> fresh = Interleaved(
      true,
      [&] {
        auto* fresh_bytes = static_cast<std::uint8_t*>(std::malloc(result.bytes));
        if (fresh_bytes == nullptr) throw std::bad_alloc();
        CopyRows(frame, fresh_bytes);
        sink = fresh_bytes[result.bytes - 1];  // the copy is used, so it cannot be left out
        std::free(fresh_bytes);
      },
      [&] {
        RgbaImage image;
        if (RepackArgbToRgba(frame.Argb(), image) != 0)
          throw std::runtime_error("the repack failed");
      });
  result.fresh_memcpy_ms = fresh[0];
  result.fresh_repack_ms = fresh[1];
  return result;
}

}  // namespace glimster::bench
