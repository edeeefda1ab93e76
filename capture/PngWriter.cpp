#include "capture/PngWriter.h"

#include <cstdio>
#include <new>

#include "capture/EncoderMemory.h"
#include "capture/FileReplace.h"
#include "capture/FrameRepack.h"
#include "capture/PngLimits.h"
#include "lodepng.h"

namespace {

constexpr unsigned kOutOfMemory = 83;  // "memory allocation failed"
// Codes outside the PNG library's, so the two are never confused: the bytes
// could not be written after the file was opened; the compressed stream
// does not fit the one chunk the encoder puts it in.
constexpr unsigned kPngWriteFailed = 1000;
constexpr unsigned kCompressedTooLarge = 1001;

struct OwnCode {
  unsigned code;
  const char* text;
};
constexpr OwnCode kOwnCodes[] = {
    {kPngWriteFailed, "failed to write file"},
    {kCompressedTooLarge, "compressed image too large for a PNG file"},
};

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
  const std::optional<std::uint64_t> length = CompressedStreamLength(png.bytes, png.size);
  return length && *length <= kLongestChunkData ? 0 : kCompressedTooLarge;
}

unsigned Store(const PngBytes& png, const std::string& utf8_path) {
  switch (ReplaceFileWhole(utf8_path, png.bytes, png.size)) {
    case FileReplaceResult::Replaced:
      return 0;
    case FileReplaceResult::OpenFailed:
      return kPngOpenFailed;
    case FileReplaceResult::WriteFailed:
      break;
  }
  return kPngWriteFailed;
}

const char* ErrorText(unsigned code) {
  for (const OwnCode& own : kOwnCodes) {
    if (own.code == code) return own.text;
  }
  return lodepng_error_text(code);
}

}  // namespace

unsigned WriteFrameAsPng(const PF_EffectWorld& world, const std::string& utf8_path) {
  RgbaImage image;
  PngBytes png;
  unsigned code = RepackArgbToRgba(world, image);
  if (!code) code = Encode(image, png);
  image.pixels.reset();  // the encoded bytes are all that is needed from here
  if (!code) code = CheckFitsOneChunk(png);
  if (!code) code = Store(png, utf8_path);
  if (code) PrintPngError(code);
  return code;
}

void PrintPngError(unsigned code) {
  std::printf("error %u: %s\n", code, ErrorText(code));
  std::fflush(stdout);
}
