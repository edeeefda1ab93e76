#include "capture/PngWriter.h"

#include <new>

#include "capture/CaptureFailures.h"
#include "capture/EncoderMemory.h"
#include "capture/FileReplace.h"
#include "capture/FrameRepack.h"
#include "capture/PngLimits.h"
#include "lodepng.h"

namespace glimster {

namespace {

struct PngBytes {
  unsigned char* bytes = nullptr;
  std::size_t size = 0;
  ~PngBytes() { lodepng_free(bytes); }
};

// Encodes `image` into `png`. A frame the encoder would size past 32 bits
// never reaches it. Running out of memory inside the encoder leaves it by an
// exception; every block it held is freed then.
unsigned Encode(const RgbaImage& image, PngBytes& png) {
  if (!EncoderTakesFrame(image.width, image.height)) return kOutOfMemory;
  try {
    EncoderMemoryScope memory;
    const unsigned code =
        lodepng_encode32(&png.bytes, &png.size, image.pixels.get(), image.width, image.height);
    memory.Keep(png.bytes);
    return code;
  } catch (const std::bad_alloc&) {
    png.bytes = nullptr;  // nothing was handed over: the scope freed all the encoder held
    png.size = 0;
    return kOutOfMemory;
  }
}

unsigned CheckFitsOneChunk(const PngBytes& png) {
  return FitsOneChunk(png.bytes, png.size) ? 0 : kCompressedTooLarge;
}

unsigned Store(const PngBytes& png, const std::string& utf8_path) {
  switch (ReplaceFileWhole(utf8_path, png.bytes, png.size)) {
    case FileReplaceResult::kReplaced:
      return 0;
    case FileReplaceResult::kOpenFailed:
      return kFileNotCreated;
    case FileReplaceResult::kWriteFailed:
      break;
  }
  return kWriteFailed;
}

}  // namespace

unsigned WriteFrameAsPng(const ArgbFrame& frame, const std::string& utf8_path) {
  RgbaImage image;
  PngBytes png;
  unsigned code = RepackArgbToRgba(frame, image);
  if (!code) code = Encode(image, png);
  image.pixels.reset();  // the encoded bytes are all that is needed from here
  if (!code) code = CheckFitsOneChunk(png);
  if (!code) code = Store(png, utf8_path);
  if (code) PrintFailureLine(FailureOfCode(code));
  return code;
}

}  // namespace glimster
