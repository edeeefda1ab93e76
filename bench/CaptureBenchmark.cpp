// Repacking and encoding a rendered frame, at the sizes artists capture.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "capture/FrameRepack.h"
#include "lodepng.h"

namespace {

// A frame with gradients and partial transparency, rows padded by 64 bytes.
struct Frame {
  std::vector<std::uint8_t> bytes;
  PF_EffectWorld world{};

  Frame(A_long width, A_long height) {
    const A_long rowbytes = width * 4 + 64;
    bytes.resize(static_cast<std::size_t>(rowbytes) * height);
    for (A_long y = 0; y < height; ++y) {
      for (A_long x = 0; x < width; ++x) {
        std::uint8_t* p = &bytes[static_cast<std::size_t>(y) * rowbytes + x * 4];
        p[0] = static_cast<std::uint8_t>(128 + (x % 128));
        p[1] = static_cast<std::uint8_t>(x * 255 / width);
        p[2] = static_cast<std::uint8_t>(y * 255 / height);
        p[3] = static_cast<std::uint8_t>((x + y) & 0xFF);
      }
    }
    world.data = bytes.data();
    world.width = width;
    world.height = height;
    world.rowbytes = rowbytes;
  }
};

void BM_Repack(benchmark::State& state) {
  const Frame frame(static_cast<A_long>(state.range(0)), static_cast<A_long>(state.range(1)));
  for (auto _ : state) {
    RgbaImage image;
    benchmark::DoNotOptimize(RepackArgbToRgba(frame.world, image));
    benchmark::DoNotOptimize(image.pixels.get());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 4);
}
BENCHMARK(BM_Repack)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

void BM_RepackAndEncode(benchmark::State& state) {
  const Frame frame(static_cast<A_long>(state.range(0)), static_cast<A_long>(state.range(1)));
  for (auto _ : state) {
    RgbaImage image;
    RepackArgbToRgba(frame.world, image);
    unsigned char* png = nullptr;
    std::size_t size = 0;
    benchmark::DoNotOptimize(lodepng_encode32(&png, &size, image.pixels.get(), image.width, image.height));
    std::free(png);
  }
}
BENCHMARK(BM_RepackAndEncode)->Args({1920, 1080})->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
