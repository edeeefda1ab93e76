#include "bench/FrameExport.h"

#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BenchFrames.h"
#include "capture/EncoderMemory.h"
#include "capture/FrameRepack.h"
#include "lodepng.h"

namespace glimster::bench {

namespace {

// Writes LodePNG's default PNG of `frame`'s pixels to `file`.
void WritePng(HostFrame frame, const std::filesystem::path& file) {
  RgbaImage image;
  if (RepackArgbToRgba(frame.Argb(), image) != 0) throw std::runtime_error("cannot repack a frame");
  unsigned char* png = nullptr;
  std::size_t size = 0;
  const unsigned code =
      lodepng_encode32(&png, &size, image.pixels.get(), image.width, image.height);
  const std::unique_ptr<unsigned char, decltype(&lodepng_free)> owned(png, &lodepng_free);
  if (code != 0) throw std::runtime_error(std::string("LodePNG: ") + lodepng_error_text(code));
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png), static_cast<std::streamsize>(size));
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

void ExportFrames(const std::vector<std::int32_t>& heights, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const std::int32_t height : heights) {
    for (const Content content : {Content::kFlat, Content::kNoise}) {
      const std::int32_t width = height * 16 / 9;
      const std::string stem =
          std::to_string(width) + "x" + std::to_string(height) + "-" + ContentName(content);
      WritePng(MakeFrame(content, width, height, Colours::kStraight), folder / (stem + ".png"));
      WritePng(MakeFrame(content, width, height), folder / (stem + ".premultiplied.png"));
    }
  }
}

}  // namespace glimster::bench
