#include "bench/BenchFrames.h"

#include <algorithm>
#include <cmath>

#include "substitute_host/Frame.h"

namespace glimster::bench {
namespace {

constexpr std::int32_t kRowPadding = 64;

using substitute_host::Argb;

void Store(HostFrame& frame, std::int32_t x, std::int32_t y, Argb pixel) {
  std::uint8_t* p =
      &frame.bytes[static_cast<std::size_t>(y) * frame.rowbytes + 4 * static_cast<std::size_t>(x)];
  p[0] = pixel.alpha;
  p[1] = pixel.red;
  p[2] = pixel.green;
  p[3] = pixel.blue;
}

bool Inside(double u, double v, double left, double top, double right, double bottom) {
  return u >= left && u < right && v >= top && v < bottom;
}

// A title card: a letterbox left transparent, a dark background, a disc, a
// translucent panel with bars, a lower third with an accent. Eight colours.
Argb FlatPixel(double u, double v, double aspect) {
  if (v < 0.05 || v >= 0.95) return {0, 0, 0, 0};
  const double du = (u - 0.3) * aspect;
  const double dv = v - 0.45;
  if (Inside(u, v, 0.08, 0.72, 0.11, 0.86)) return {255, 220, 40, 60};
  if (Inside(u, v, 0.08, 0.72, 0.92, 0.86)) return {255, 250, 250, 250};
  for (int bar = 0; bar < 6; ++bar) {
    const double left = 0.6 + 0.055 * bar;
    if (Inside(u, v, left, 0.2, left + 0.03, 0.5)) {
      return bar % 2 ? Argb{255, 60, 200, 230} : Argb{255, 140, 90, 220};
    }
  }
  if (Inside(u, v, 0.55, 0.1, 0.95, 0.6)) return {160, 20, 20, 24};
  if (du * du + dv * dv < 0.22 * 0.22) return {255, 240, 180, 40};
  return {255, 24, 32, 56};
}

// xorshift64: the same grain on every run.
struct Grain {
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  int Next(int amplitude) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<int>(state % (2 * amplitude + 1)) - amplitude;
  }
};

std::uint8_t Clamp(double value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

Argb NoisePixel(double u, double v, Grain& grain) {
  const double edge = std::max(std::abs(u - 0.5), std::abs(v - 0.5)) * 2;  // 0 centre, 1 border
  return {Clamp(255 - 180 * edge * edge + grain.Next(12)), Clamp(40 + 200 * u + grain.Next(28)),
          Clamp(30 + 190 * v + grain.Next(28)), Clamp(220 - 160 * u * v + grain.Next(28))};
}

}  // namespace

const char* ContentName(Content content) { return content == Content::kFlat ? "flat" : "noise"; }

ArgbFrame HostFrame::Argb() const { return ArgbFrame{width, height, rowbytes, bytes.data()}; }

std::string HostFrame::SizeLabel() const {
  return std::to_string(width) + "x" + std::to_string(height);
}

HostFrame MakeFrame(Content content, std::int32_t width, std::int32_t height, Colours colours) {
  HostFrame frame;
  frame.width = width;
  frame.height = height;
  frame.rowbytes = width * 4 + kRowPadding;
  frame.bytes.assign(static_cast<std::size_t>(frame.rowbytes) * height, 0xEE);
  const double aspect = static_cast<double>(width) / height;
  Grain grain;
  for (std::int32_t y = 0; y < height; ++y) {
    const double v = (y + 0.5) / height;
    for (std::int32_t x = 0; x < width; ++x) {
      const double u = (x + 0.5) / width;
      const Argb pixel =
          content == Content::kFlat ? FlatPixel(u, v, aspect) : NoisePixel(u, v, grain);
      Store(frame, x, y,
            colours == Colours::kPremultiplied ? substitute_host::premultiplied(pixel) : pixel);
    }
  }
  return frame;
}

}  // namespace glimster::bench
