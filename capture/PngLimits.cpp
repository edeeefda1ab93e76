#include "capture/PngLimits.h"

#include <cstring>

namespace {

constexpr std::size_t kSignature = 8;
constexpr std::size_t kChunkFrame = 12;  // length, type and checksum around the data
constexpr std::size_t kIend = kChunkFrame;

std::uint32_t BigEndian32(const unsigned char* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

}  // namespace

bool EncoderTakesFrame(unsigned width, unsigned height) {
  const std::uint64_t row_bits = 32 * std::uint64_t{width} + 7;
  const std::uint64_t filtered_bytes = std::uint64_t{height} * (4 * std::uint64_t{width} + 1);
  return row_bits <= UINT32_MAX && filtered_bytes <= UINT32_MAX;
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
