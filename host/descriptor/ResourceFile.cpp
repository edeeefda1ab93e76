#include "ResourceFile.h"

#include <limits>
#include <stdexcept>

namespace glimster::descriptor {
namespace {

constexpr std::uint32_t kHeaderSize = 16;
constexpr std::uint32_t kDataOffset = 256;  // bytes 16 to 255 stay zero
constexpr std::uint32_t kDataLengthFieldSize = 4;

// The map's fixed part: header copy (16), next-map handle (4), file reference
// number (2), attributes (2), type list offset (2), name list offset (2). The
// type list follows at once, then the reference list; the name list is empty,
// so the map ends where it would begin.
constexpr std::uint16_t kTypeListOffset = 28;
constexpr std::uint16_t kTypeListCountSize = 2;
constexpr std::uint16_t kTypeEntrySize = 8;
constexpr std::uint16_t kReferenceEntrySize = 12;
constexpr std::uint16_t kReferenceListOffset =
    kTypeListCountSize + kTypeEntrySize;  // from the type list
constexpr std::uint16_t kNameListOffset =
    kTypeListOffset + kReferenceListOffset + kReferenceEntrySize;
constexpr std::uint32_t kMapLength = kNameListOffset;

constexpr std::uint16_t kNoMapAttributes = 0;
constexpr std::uint8_t kNoResourceAttributes = 0;
constexpr std::int16_t kNoName = -1;

void WriteHeader(ByteWriter& out, std::uint32_t data_length) {
  out.uint32(kDataOffset);
  out.uint32(kDataOffset + data_length);
  out.uint32(data_length);
  out.uint32(kMapLength);
}

void WriteMap(ByteWriter& out, const Resource& resource, std::uint32_t data_length) {
  WriteHeader(out, data_length);
  out.zeros(4 + 2);  // next-map handle and file reference number, the reader's to fill
  out.uint16(kNoMapAttributes);
  out.uint16(kTypeListOffset);
  out.uint16(kNameListOffset);

  out.uint16(1 - 1);  // number of types, minus one
  out.code(resource.type);
  out.uint16(1 - 1);  // number of resources of this type, minus one
  out.uint16(kReferenceListOffset);

  out.int16(resource.id);
  out.int16(kNoName);
  out.uint8(kNoResourceAttributes);
  out.uint24(0);  // offset of the resource within the data section
  out.zeros(4);   // resource handle, the reader's to fill
}

}  // namespace

Bytes BuildResourceFile(const Resource& resource) {
  constexpr std::uint32_t kLargestData =
      std::numeric_limits<std::uint32_t>::max() - kDataOffset - kDataLengthFieldSize - kMapLength;
  if (resource.data.size() > kLargestData) {
    throw std::length_error("resource too large for a resource file");
  }
  const auto resource_length = static_cast<std::uint32_t>(resource.data.size());
  const std::uint32_t data_length = kDataLengthFieldSize + resource_length;

  ByteWriter out(ByteOrder::kBigEndian);
  WriteHeader(out, data_length);
  out.zeros(kDataOffset - kHeaderSize);
  out.uint32(resource_length);
  out.bytes(resource.data);
  WriteMap(out, resource, data_length);
  return out.buffer();
}

}  // namespace glimster::descriptor
