#include "bench/CaptureSteps.h"

#include <ctime>
#include <stdexcept>

#include "bench/HeapCounter.h"
#include "bench/Stopwatch.h"
#include "bench/SyncClock.h"
#include "capture/EncoderMemory.h"
#include "capture/FileReplace.h"
#include "capture/FrameRepack.h"
#include "capture/OutputNaming.h"
#include "capture/PngWriter.h"
#include "lodepng.h"

namespace glimster::bench {
namespace {

struct PngBytes {
  unsigned char* bytes = nullptr;
  std::size_t size = 0;
  ~PngBytes() { lodepng_free(bytes); }
};

void Check(bool ok, const char* step) {
  if (!ok) throw std::runtime_error(std::string("the capture step failed: ") + step);
}

}  // namespace

StepTimes TimeCaptureSteps(HostFrame& frame, const std::u16string& name) {
  StepTimes times;
  OutputPath path;
  times.naming = MillisecondsOf([&] {
    path = BuildOutputPath(name.data(), static_cast<std::uint32_t>(name.size() * sizeof(char16_t)),
                           std::time(nullptr), kNativeNamingPlatform);
  });
  Check(path.failure == NamingFailure::kNone, "naming");
  times.path = path.path;

  RgbaImage image;
  unsigned code = 0;
  times.repack = MillisecondsOf([&] { code = RepackArgbToRgba(frame.Argb(), image); });
  Check(code == 0, "repack");

  PngBytes png;
  const std::size_t before_encode = HeapBytesNow();
  ResetHeapPeak();
  times.encode = MillisecondsOf([&] {
    code = lodepng_encode32(&png.bytes, &png.size, image.pixels.get(), image.width, image.height);
  });
  times.encode_peak = HeapPeak() - before_encode;
  Check(code == 0, "encode");
  times.repack += MillisecondsOf([&] { image.pixels.reset(); });
  times.png.assign(png.bytes, png.bytes + png.size);

  const long long sync_before = SyncNanoseconds();
  FileReplaceResult result{};
  const double replace =
      MillisecondsOf([&] { result = ReplaceFileWhole(path.path, png.bytes, png.size); });
  Check(result == FileReplaceResult::kReplaced, "file write");
  times.sync = static_cast<double>(SyncNanoseconds() - sync_before) / 1e6;
  times.write = replace - times.sync + MillisecondsOf([&] {
                  lodepng_free(png.bytes);
                  png.bytes = nullptr;
                });
  return times;
}

WholeCapture TimeWriteFrameAsPng(HostFrame& frame, const std::string& path) {
  WholeCapture capture;
  unsigned code = 0;
  const std::size_t before = HeapBytesNow();
  ResetHeapPeak();
  capture.milliseconds = MillisecondsOf([&] { code = WriteFrameAsPng(frame.Argb(), path); });
  capture.peak = HeapPeak() - before;
  Check(code == 0, "WriteFrameAsPng");
  return capture;
}

}  // namespace glimster::bench
