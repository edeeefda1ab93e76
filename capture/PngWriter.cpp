#include "capture/PngWriter.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "capture/FileReplace.h"
#include "capture/FrameRepack.h"
#include "lodepng.h"

namespace {

constexpr unsigned kOpenFailed = 79;  // "failed to open file for writing"
// Printed when the bytes could not be written after the file was opened;
// outside the PNG library's codes, so the two are never confused.
constexpr unsigned kPngWriteFailed = 1000;

struct PngBytes {
  unsigned char* bytes = nullptr;
  std::size_t size = 0;
  ~PngBytes() { std::free(bytes); }
};

unsigned Encode(const RgbaImage& image, PngBytes& png) {
  return lodepng_encode32(&png.bytes, &png.size, image.pixels.get(), image.width, image.height);
}

unsigned Store(const PngBytes& png, const std::string& utf8_path) {
  switch (ReplaceFileWhole(utf8_path, png.bytes, png.size)) {
    case FileReplaceResult::Replaced:
      return 0;
    case FileReplaceResult::OpenFailed:
      return kOpenFailed;
    case FileReplaceResult::WriteFailed:
      break;
  }
  return kPngWriteFailed;
}

const char* ErrorText(unsigned code) {
  return code == kPngWriteFailed ? "failed to write file" : lodepng_error_text(code);
}

}  // namespace

unsigned WriteFrameAsPng(const PF_EffectWorld& world, const std::string& utf8_path) {
  RgbaImage image;
  PngBytes png;
  unsigned code = RepackArgbToRgba(world, image);
  if (!code) code = Encode(image, png);
  image.pixels.reset();  // the encoded bytes are all that is needed from here
  if (!code) code = Store(png, utf8_path);
  if (code) {
    std::printf("error %u: %s\n", code, ErrorText(code));
    std::fflush(stdout);
  }
  return code;
}
