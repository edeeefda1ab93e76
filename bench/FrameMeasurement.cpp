#include "bench/FrameMeasurement.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "bench/CaptureSteps.h"
#include "bench/HeapCounter.h"
#include "bench/LibpngEncoder.h"
#include "bench/Stopwatch.h"
#include "bench/SyncClock.h"
#include "capture/FrameRepack.h"

namespace glimster::bench {
namespace fs = std::filesystem;
namespace {

std::u16string CompositionName(const HostFrame& frame, Content content) {
  const std::string name = "Bench " + frame.SizeLabel() + " " + ContentName(content);
  return std::u16string(name.begin(), name.end());
}

// The one file on the desktop, read whole; throws unless there is exactly one.
std::vector<unsigned char> OnlyFileOn(const fs::path& desktop) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(desktop)) files.push_back(entry.path());
  if (files.size() != 1) {
    throw std::runtime_error("expected one file on the desktop, found " +
                             std::to_string(files.size()));
  }
  std::ifstream in(files.front(), std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void Empty(const fs::path& desktop) {
  for (const auto& entry : fs::directory_iterator(desktop)) fs::remove(entry.path());
}

struct Runs {
  std::vector<double> command, command_sync, host_copy, naming, repack, encode, write, sync, whole,
      libpng;
};

}  // namespace

FrameMeasurement MeasureFrame(PluginCapture& plugin, HostFrame& frame, Content content, int runs,
                              const fs::path& desktop) {
  FrameMeasurement result;
  result.size = frame.SizeLabel();
  result.content = ContentName(content);
  result.megapixels = static_cast<double>(frame.width) * frame.height / 1e6;
  result.pixel_bytes = frame.PixelBytes();
  const std::u16string name = CompositionName(frame, content);
  plugin.Show(name, frame);
  const std::size_t host_copy_bytes = plugin.HostFrameCopyHeapBytes();

  Runs measured;
  for (int run = 0; run < runs; ++run) {
    // Through the plug-in.
    const long long sync_before = SyncNanoseconds();
    const long long sync_calls = SyncCalls();
    const std::size_t heap_before = HeapBytesNow();
    ResetHeapPeak();
    measured.command.push_back(plugin.Take());
    const std::size_t command_peak = HeapPeak() - heap_before;
    if (SyncCalls() == sync_calls || command_peak < host_copy_bytes + result.pixel_bytes) {
      throw std::runtime_error(
          "the plug-in's flushes or allocations were not seen by the counters");
    }
    result.command_peak = std::max(result.command_peak, command_peak - host_copy_bytes);
    measured.command_sync.push_back(static_cast<double>(SyncNanoseconds() - sync_before) / 1e6);
    const std::vector<unsigned char> plugin_png = OnlyFileOn(desktop);
    Empty(desktop);
    measured.host_copy.push_back(plugin.TimeHostFrameCopy());

    // The same steps with the capture library.
    const StepTimes steps = TimeCaptureSteps(frame, name);
    if (steps.png != plugin_png) {
      throw std::runtime_error("the plug-in's PNG differs from LodePNG's for " + result.size);
    }
    if (OnlyFileOn(desktop) != steps.png)
      throw std::runtime_error("the file written is not the PNG");
    Empty(desktop);
    measured.naming.push_back(steps.naming);
    measured.repack.push_back(steps.repack);
    measured.encode.push_back(steps.encode);
    measured.write.push_back(steps.write);
    measured.sync.push_back(steps.sync);
    result.encode_peak = std::max(result.encode_peak, steps.encode_peak);
    result.lodepng_png_bytes = steps.png.size();

    const WholeCapture whole = TimeWriteFrameAsPng(frame, steps.path);
    if (OnlyFileOn(desktop) != steps.png)
      throw std::runtime_error("WriteFrameAsPng wrote another PNG");
    Empty(desktop);
    measured.whole.push_back(whole.milliseconds);
    result.capture_peak = std::max(result.capture_peak, whole.peak);

    // libpng, from the same RGBA pixels.
    RgbaImage image;
    if (RepackArgbToRgba(frame.Argb(), image) != 0) throw std::runtime_error("the repack failed");
    std::vector<unsigned char> libpng_png;
    measured.libpng.push_back(MillisecondsOf(
        [&] { libpng_png = EncodeWithLibpng(image.pixels.get(), image.width, image.height); }));
    result.libpng_png_bytes = libpng_png.size();
  }

  result.command = Median(measured.command);
  result.command_sync = Median(measured.command_sync);
  result.host_copy = Median(measured.host_copy);
  result.naming = Median(measured.naming);
  result.repack = Median(measured.repack);
  result.encode = Median(measured.encode);
  result.write = Median(measured.write);
  result.sync = Median(measured.sync);
  result.write_frame_as_png = Median(measured.whole);
  result.libpng = Median(measured.libpng);
  return result;
}

}  // namespace glimster::bench
