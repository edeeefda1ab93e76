#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/EncoderMemory.h"
#include "capture/PngLimits.h"

namespace glimster {

namespace {

// The bound: at most 8 bits a byte plus 1/128 bit a literal, 1668 bits a
// block of 262144 bytes (header and end code), 6 bytes of zlib frame; the
// stream stays at most 2^32 - 1 = 4294967295 bytes.
// 1 x 857474035: 5-byte rows, 4287370175 bytes, 16356 blocks:
//   34298961400 + 33495079 + 27281808 = 34359738287 bits, 4294967286 + 6 bytes.
// 1 x 857474036: 4287370180 bytes: 34359738327 bits, 4294967291 + 6 bytes.
// 3 x 329797706: 13-byte rows, 4287370178 bytes, 16356 blocks:
//   34298961424 + 33495079 + 27281808 = 34359738311 bits, 4294967289 + 6 bytes.
// 32767 x 32710: 131069-byte rows, 4287266990 bytes, 16355 blocks:
//   34298135920 + 33494273 + 27280140 = 34358910333 bits, 4294863792 + 6 bytes.
// 32767 x 32711: 4287398059 bytes, 16356 blocks:
//   34299184472 + 33495297 + 27281808 = 34359961577 bits, 4294995198 + 6 bytes.
TEST(PngLimits, TheEncoderTakesAFrameOnlyWhileItsStreamStaysBelow2To32Bytes) {
  struct Case {
    unsigned width, height;
    bool taken;
  };
  const Case cases[] = {
      {1, 1, true},
      {1, 857474035, true},   // 4294967292 bytes at most
      {1, 857474036, false},  // 4294967297
      {3, 329797706, true},   // 4294967295 exactly
      {3, 329797707, false},
      {32767, 32710, true},   // 4294863798
      {32767, 32711, false},  // 4294995204
      {32767, 32768, false},  // noise alone makes more than 2^32 bytes of it
      {8192, 131071, false},  // 4 x width x height still fits 32 bits
      {134217727, 1, true},   // 32 x width + 7 = 4294967271 bits in a row
      {134217728, 1, false},  // 4294967303
      {134217727, 0xFFFFFFFFu, false},
      {134217727, 4287370414u, false},  // its bound in 64 bits would wrap to 472758216 bytes
      {0xFFFFFFFFu, 0xFFFFFFFFu, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncoderTakesFrame(c.width, c.height), c.taken) << c.width << "x" << c.height;
  }
}

// A PNG's bytes: the signature, then each chunk as length, type, data, checksum.
std::vector<unsigned char> Layout(const std::vector<std::string>& chunks,
                                  std::uint32_t idat_length_field) {
  std::vector<unsigned char> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const std::string& chunk : chunks) {
    const std::string type = chunk.substr(0, 4);
    const std::string data = chunk.substr(4);
    const std::uint32_t length =
        type == "IDAT" ? idat_length_field : static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
      bytes.push_back(static_cast<unsigned char>(length >> shift));
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    bytes.insert(bytes.end(), 4, 0xCC);
  }
  return bytes;
}

TEST(PngLimits, TheCompressedStreamIsMeasuredFromTheFileNotFromItsLengthField) {
  const std::string header = "IHDR" + std::string(13, '\1');
  struct Case {
    const char* what;
    std::vector<std::string> chunks;
    std::uint32_t idat_length_field;
    std::optional<std::uint64_t> length;
  };
  const Case cases[] = {
      {"as written", {header, "IDATabcdefg", "IEND"}, 7, 7},
      {"a wrapped length field", {header, "IDATabcdefg", "IEND"}, 0xFFFFFFF9u, 7},
      {"another chunk first", {header, "tEXtKey=v", "IDATxyz", "IEND"}, 3, 3},
      {"an empty stream", {header, "IDAT", "IEND"}, 0, 0},
      {"no IDAT", {header, "IEND"}, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::vector<unsigned char> png = Layout(c.chunks, c.idat_length_field);
    EXPECT_EQ(CompressedStreamLength(png.data(), png.size()), c.length) << c.what;
  }
  // A chunk before IDAT whose length runs past the end.
  std::vector<unsigned char> png = Layout({header, "IDATabc", "IEND"}, 3);
  png[8 + 3] = 0xFF;
  EXPECT_EQ(CompressedStreamLength(png.data(), png.size()), std::nullopt);
}

// The PNG's stream fills its IDAT chunk; the memory is mapped, and only the
// chunks before the stream are ever touched.
TEST(PngLimits, OneChunkHoldsAStreamOfAtMost2To31Minus1Bytes) {
  const std::vector<unsigned char> head = Layout({"IHDR" + std::string(13, '\1')}, 0);
  const unsigned char idat[] = {0xFF, 0xFF, 0xFF, 0xFF, 'I', 'D', 'A', 'T'};
  for (const auto& [stream, fits] : {std::pair{0x7FFFFFFFull, true}, {0x80000000ull, false}}) {
    const std::size_t size = head.size() + 8 + stream + 4 + 12;
    void* map = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(map, MAP_FAILED);
    auto* png = static_cast<unsigned char*>(map);
    std::memcpy(png, head.data(), head.size());
    std::memcpy(png + head.size(), idat, sizeof idat);
    EXPECT_EQ(CompressedStreamLength(png, size), stream);
    EXPECT_EQ(FitsOneChunk(png, size), fits) << stream;
    munmap(map, size);
  }
}

TEST(EncoderMemory, MemoryThatCannotBeHadThrowsAndKeepsTheBlockAndScopeFreesWhatItHolds) {
  EXPECT_THROW(lodepng_malloc(SIZE_MAX), std::bad_alloc);
  void* kept = nullptr;
  {
    EncoderMemoryScope scope;
    auto* block = static_cast<char*>(lodepng_malloc(6));
    std::memcpy(block, "bytes", 6);
    EXPECT_THROW(lodepng_realloc(block, SIZE_MAX / 2), std::bad_alloc);
    EXPECT_STREQ(block, "bytes");
    block = static_cast<char*>(lodepng_realloc(block, 1 << 20));
    EXPECT_STREQ(block, "bytes");
    kept = block;
    scope.Keep(kept);
    lodepng_malloc(100);  // left to the scope (a leak the sanitizer build would report)
  }
  EXPECT_STREQ(static_cast<char*>(kept), "bytes");  // still readable after the scope
  lodepng_free(kept);
}

}  // namespace

}  // namespace glimster
