#include "capture/PngLimits.h"

#include <algorithm>
#include <cstring>

namespace glimster {

namespace {

constexpr std::size_t kSignature = 8;
constexpr std::uint64_t kLongestChunkData = 0x7FFFFFFF;
constexpr std::size_t kChunkFrame = 12;  // length, type and checksum around the data
constexpr std::size_t kIend = kChunkFrame;

std::uint32_t BigEndian32(const unsigned char* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// The longest zlib stream the encoder's deflate makes of `bytes` bytes. It
// cuts them into dynamic-Huffman blocks (never stored ones) of
// clamp(bytes / 8 + 8, 65536, 262144) bytes. Its code lengths are optimal,
// so a block costs no more than under this code: 254 literals of 8 bits, the
// two rarest of 9, length 3 of 9, the end and the other lengths of 14,
// distances of 5; a match of length 3 (never farther than 4096) then takes
// at most 9 + 5 + 10 bits, a longer one at most 8 bits a byte. A block of b
// bytes is then at most 8b + b/128 + 14 bits of data, after a header of at
// most 3 + 14 + 19 x 3 + 316 x 5 bits (each code length at most 5 bits with
// its repeat codes). zlib adds 2 bytes before and the 4-byte Adler-32 after.
std::uint64_t LongestCompressedStream(std::uint64_t bytes) {
  constexpr std::uint64_t kBlockOverheadBits = 3 + 14 + 19 * 3 + 316 * 5 + 14;
  constexpr std::uint64_t kZlibFrame = 2 + 4;
  const std::uint64_t block =
      std::min<std::uint64_t>(std::max<std::uint64_t>(bytes / 8 + 8, 65536), 262144);
  const std::uint64_t blocks = std::max<std::uint64_t>((bytes + block - 1) / block, 1);
  const std::uint64_t bits = 8 * bytes + bytes / 128 + blocks * kBlockOverheadBits;
  return kZlibFrame + (bits + 7) / 8;
}

}  // namespace

bool EncoderTakesFrame(unsigned width, unsigned height) {
  const std::uint64_t row_bits = 32 * std::uint64_t{width} + 7;
  const std::uint64_t filtered_bytes = std::uint64_t{height} * (4 * std::uint64_t{width} + 1);
  // The stream is longer than its input: a longer input never fits, and the
  // bound is reckoned without overflow.
  return row_bits <= UINT32_MAX && filtered_bytes <= UINT32_MAX &&
         LongestCompressedStream(filtered_bytes) <= UINT32_MAX;
}

std::optional<std::uint64_t> CompressedStreamLength(const unsigned char* png, std::size_t size) {
  std::size_t at = kSignature;
  while (size >= kIend && at + kChunkFrame <= size - kIend) {
    if (std::memcmp(png + at + 4, "IDAT", 4) == 0) return size - kIend - kChunkFrame - at;
    const std::uint64_t next = std::uint64_t{at} + kChunkFrame + BigEndian32(png + at);
    if (next > size) break;
    at = static_cast<std::size_t>(next);
  }
  return std::nullopt;
}

bool FitsOneChunk(const unsigned char* png, std::size_t size) {
  const std::optional<std::uint64_t> length = CompressedStreamLength(png, size);
  return length && *length <= kLongestChunkData;
}

}  // namespace glimster
