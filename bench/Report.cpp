#include "bench/Report.h"

#include <cstdio>

namespace glimster::bench {
namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;

// The plug-in's own time in the command: the substitute host's frame copy
// and the flushes taken out.
double PluginMilliseconds(const FrameMeasurement& f) {
  return f.command - f.host_copy - f.command_sync;
}

double BesidesEncoderShare(const FrameMeasurement& f) {
  const double besides = f.naming + f.repack + f.write;
  return 100 * besides / (besides + f.encode);
}

}  // namespace

void PrintCommandTable(const std::vector<FrameMeasurement>& frames) {
  std::printf(
      "| frame | content | command | host frame copy | fsync | plug-in (command - copy - fsync) | "
      "plug-in ms/MP |\n"
      "|---|---|--:|--:|--:|--:|--:|\n");
  for (const FrameMeasurement& f : frames) {
    std::printf("| %s | %s | %.1f | %.1f | %.1f | %.1f | %.1f |\n", f.size.c_str(),
                f.content.c_str(), f.command, f.host_copy, f.command_sync, PluginMilliseconds(f),
                PluginMilliseconds(f) / f.megapixels);
  }
}

void PrintStepTable(const std::vector<FrameMeasurement>& frames) {
  std::printf(
      "| frame | content | naming | repack | encode | write | besides encoder | fsync | "
      "WriteFrameAsPng | encode ms/MP |\n"
      "|---|---|--:|--:|--:|--:|--:|--:|--:|--:|\n");
  for (const FrameMeasurement& f : frames) {
    std::printf("| %s | %s | %.2f | %.2f | %.1f | %.2f | %.2f %% | %.2f | %.1f | %.1f |\n",
                f.size.c_str(), f.content.c_str(), f.naming, f.repack, f.encode, f.write,
                BesidesEncoderShare(f), f.sync, f.write_frame_as_png, f.encode / f.megapixels);
  }
}

void PrintEncoderTable(const std::vector<FrameMeasurement>& frames) {
  std::printf(
      "| frame | content | LodePNG ms | LodePNG bytes | libpng ms | libpng bytes |\n"
      "|---|---|--:|--:|--:|--:|\n");
  for (const FrameMeasurement& f : frames) {
    std::printf("| %s | %s | %.1f | %zu | %.1f | %zu |\n", f.size.c_str(), f.content.c_str(),
                f.encode, f.lodepng_png_bytes, f.libpng, f.libpng_png_bytes);
  }
}

void PrintRepackTable(const std::vector<RepackRow>& rows) {
  std::printf(
      "| frame | pixel bytes | memcpy GB/s | repack GB/s | repack / memcpy | plain loop GB/s | "
      "plain / memcpy | malloc + memcpy + free ms | RepackArgbToRgba + free ms | ratio |\n"
      "|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
  for (const RepackRow& row : rows) {
    const RepackThroughput& t = row.throughput;
    std::printf("| %s | %zu | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f |\n",
                row.size.c_str(), t.bytes, t.memcpy_gbps, t.repack_gbps,
                t.repack_gbps / t.memcpy_gbps, t.plain_gbps, t.plain_gbps / t.memcpy_gbps,
                t.fresh_memcpy_ms, t.fresh_repack_ms, t.fresh_memcpy_ms / t.fresh_repack_ms);
  }
}

void PrintMemoryTable(const std::vector<FrameMeasurement>& frames) {
  std::printf(
      "| frame | content | frame bytes (w*h*4) | LodePNG alone | WriteFrameAsPng | difference | "
      "difference - frame bytes | plug-in command, host copy aside |\n"
      "|---|---|--:|--:|--:|--:|--:|--:|\n");
  for (const FrameMeasurement& f : frames) {
    const long long difference =
        static_cast<long long>(f.capture_peak) - static_cast<long long>(f.encode_peak);
    std::printf("| %s | %s | %.2f MiB | %.2f MiB | %.2f MiB | %.2f MiB | %+lld B | %.2f MiB |\n",
                f.size.c_str(), f.content.c_str(), f.pixel_bytes / kMebibyte,
                f.encode_peak / kMebibyte, f.capture_peak / kMebibyte, difference / kMebibyte,
                difference - static_cast<long long>(f.pixel_bytes), f.command_peak / kMebibyte);
  }
}

}  // namespace glimster::bench
