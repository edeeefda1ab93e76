#include "bench/RepackThroughput.h"

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

template <typename Step>
double MedianMilliseconds(Step&& step) {
  step();  // the first run brings the buffers into use
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) runs.push_back(MillisecondsOf(step));
  return Median(runs);
}

double GigabytesPerSecond(std::size_t bytes, double milliseconds) { return bytes / milliseconds / 1e6; }

void CopyRows(const HostFrame& frame, std::uint8_t* rgba) {
  const std::size_t row = static_cast<std::size_t>(frame.width) * 4;
  for (A_long y = 0; y < frame.height; ++y) {
    std::memcpy(rgba + y * row, frame.bytes.data() + static_cast<std::size_t>(y) * frame.rowbytes, row);
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

  result.memcpy_gbps = GigabytesPerSecond(result.bytes, MedianMilliseconds([&] { CopyRows(frame, rgba.data()); }));
  result.repack_gbps = GigabytesPerSecond(
      result.bytes, MedianMilliseconds([&] { RepackPixels(frame.bytes.data(), width, height, stride, rgba.data()); }));
  result.plain_gbps = GigabytesPerSecond(result.bytes, MedianMilliseconds([&] {
    reference::PlainRepack(frame.bytes.data(), width, height, stride, plain.data());
  }));
  if (rgba != plain) throw std::runtime_error("the repack and the plain loop disagree on " + frame.SizeLabel());

  volatile std::uint8_t sink = 0;
  result.fresh_memcpy_ms = MedianMilliseconds([&] {
    auto* fresh = static_cast<std::uint8_t*>(std::malloc(result.bytes));
    if (fresh == nullptr) throw std::bad_alloc();
    CopyRows(frame, fresh);
    sink = fresh[result.bytes - 1];  // the copy is used, so it cannot be left out
    std::free(fresh);
  });
  result.fresh_repack_ms = MedianMilliseconds([&] {
    RgbaImage image;
    if (RepackArgbToRgba(frame.World(), image) != 0) throw std::runtime_error("the repack failed");
  });
  return result;
}

}  // namespace glimster::bench
