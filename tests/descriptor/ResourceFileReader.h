// Reads a classic Macintosh resource file (the resource-fork layout stored as
// an ordinary file), written for the tests from the layout alone:
//   header: data offset, map offset, data length, map length (big-endian u32);
//   data:   each resource as a u32 length and its bytes;
//   map:    header copy, 4 + 2 reserved bytes, u16 attributes, u16 offsets of
//           the type list and the name list (from the map's start);
//   types:  u16 count - 1, then code, u16 count - 1, u16 reference list offset
//           (from the type list's start) per type;
//   refs:   i16 id, i16 name offset, u8 attributes, u24 data offset (from the
//           data section's start), 4 reserved bytes.
#pragma once

#include "ByteFields.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glimster::descriptor_tests {

struct ResourceFileHeader {
  std::uint32_t dataOffset;
  std::uint32_t mapOffset;
  std::uint32_t dataLength;
  std::uint32_t mapLength;

  bool operator==(const ResourceFileHeader& other) const {
    return dataOffset == other.dataOffset && mapOffset == other.mapOffset &&
           dataLength == other.dataLength && mapLength == other.mapLength;
  }
};

struct ResourceReference {
  std::int16_t id;
  std::int16_t nameOffset;
  std::uint8_t attributes;
  std::uint32_t dataOffset;
};

struct ResourceTypeEntry {
  std::string code;
  std::uint16_t countMinusOne;
  std::uint16_t referenceListOffset;
  std::vector<ResourceReference> references;
};

struct ResourceFileContents {
  ResourceFileHeader header;
  ResourceFileHeader mapHeaderCopy;
  std::uint16_t mapAttributes;
  std::uint16_t typeListOffset;
  std::uint16_t nameListOffset;
  std::uint16_t typeCountMinusOne;
  std::vector<ResourceTypeEntry> types;
};

inline ResourceFileHeader readResourceFileHeader(const std::vector<std::uint8_t>& bytes,
                                                 std::size_t at) {
  return {u32(bytes, at, Endian::Big), u32(bytes, at + 4, Endian::Big),
          u32(bytes, at + 8, Endian::Big), u32(bytes, at + 12, Endian::Big)};
}

inline ResourceFileContents readResourceFile(const std::vector<std::uint8_t>& bytes) {
  ResourceFileContents file{};
  file.header = readResourceFileHeader(bytes, 0);
  const std::size_t map = file.header.mapOffset;
  file.mapHeaderCopy = readResourceFileHeader(bytes, map);
  file.mapAttributes = u16(bytes, map + 22, Endian::Big);
  file.typeListOffset = u16(bytes, map + 24, Endian::Big);
  file.nameListOffset = u16(bytes, map + 26, Endian::Big);

  const std::size_t typeList = map + file.typeListOffset;
  file.typeCountMinusOne = u16(bytes, typeList, Endian::Big);
  for (std::size_t t = 0; t <= file.typeCountMinusOne; ++t) {
    const std::size_t entry = typeList + 2 + 8 * t;
    ResourceTypeEntry type{text(bytes, entry, 4),
                           u16(bytes, entry + 4, Endian::Big),
                           u16(bytes, entry + 6, Endian::Big),
                           {}};
    for (std::size_t r = 0; r <= type.countMinusOne; ++r) {
      const std::size_t ref = typeList + type.referenceListOffset + 12 * r;
      type.references.push_back({i16(bytes, ref, Endian::Big), i16(bytes, ref + 2, Endian::Big),
                                 byteAt(bytes, ref + 4),
                                 unsignedField(bytes, ref + 5, 3, Endian::Big)});
    }
    file.types.push_back(type);
  }
  return file;
}

// The bytes of a resource: at its offset in the data section, a u32 length, then the data.
inline std::vector<std::uint8_t> resourceData(const std::vector<std::uint8_t>& bytes,
                                              const ResourceFileHeader& header,
                                              const ResourceReference& reference) {
  const std::size_t at = std::size_t{header.dataOffset} + reference.dataOffset;
  return slice(bytes, at + 4, u32(bytes, at, Endian::Big));
}

}  // namespace glimster::descriptor_tests
