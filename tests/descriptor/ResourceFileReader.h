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
  std::uint32_t data_offset;
  std::uint32_t map_offset;
  std::uint32_t data_length;
  std::uint32_t map_length;

  bool operator==(const ResourceFileHeader& other) const {
    return data_offset == other.data_offset && map_offset == other.map_offset &&
           data_length == other.data_length && map_length == other.map_length;
  }
};

struct ResourceReference {
  std::int16_t id;
  std::int16_t name_offset;
  std::uint8_t attributes;
  std::uint32_t data_offset;
};

struct ResourceTypeEntry {
  std::string code;
  std::uint16_t count_minus_one;
  std::uint16_t reference_list_offset;
  std::vector<ResourceReference> references;
};

struct ResourceFileContents {
  ResourceFileHeader header;
  ResourceFileHeader map_header_copy;
  std::uint16_t map_attributes;
  std::uint16_t type_list_offset;
  std::uint16_t name_list_offset;
  std::uint16_t type_count_minus_one;
  std::vector<ResourceTypeEntry> types;
};

inline ResourceFileHeader ReadResourceFileHeader(const std::vector<std::uint8_t>& bytes,
                                                 std::size_t at) {
  return {u32(bytes, at, Endian::kBig), u32(bytes, at + 4, Endian::kBig),
          u32(bytes, at + 8, Endian::kBig), u32(bytes, at + 12, Endian::kBig)};
}

inline ResourceFileContents ReadResourceFile(const std::vector<std::uint8_t>& bytes) {
  ResourceFileContents file{};
  file.header = ReadResourceFileHeader(bytes, 0);
  const std::size_t map = file.header.map_offset;
  file.map_header_copy = ReadResourceFileHeader(bytes, map);
  file.map_attributes = u16(bytes, map + 22, Endian::kBig);
  file.type_list_offset = u16(bytes, map + 24, Endian::kBig);
  file.name_list_offset = u16(bytes, map + 26, Endian::kBig);

  const std::size_t type_list = map + file.type_list_offset;
  file.type_count_minus_one = u16(bytes, type_list, Endian::kBig);
  for (std::size_t t = 0; t <= file.type_count_minus_one; ++t) {
    const std::size_t entry = type_list + 2 + 8 * t;
    ResourceTypeEntry type{text(bytes, entry, 4),
                           u16(bytes, entry + 4, Endian::kBig),
                           u16(bytes, entry + 6, Endian::kBig),
                           {}};
    for (std::size_t r = 0; r <= type.count_minus_one; ++r) {
      const std::size_t ref = type_list + type.reference_list_offset + 12 * r;
      type.references.push_back({i16(bytes, ref, Endian::kBig), i16(bytes, ref + 2, Endian::kBig),
                                 ByteAt(bytes, ref + 4),
                                 UnsignedField(bytes, ref + 5, 3, Endian::kBig)});
    }
    file.types.push_back(type);
  }
  return file;
}

// The bytes of a resource: at its offset in the data section, a u32 length, then the data.
inline std::vector<std::uint8_t> ResourceData(const std::vector<std::uint8_t>& bytes,
                                              const ResourceFileHeader& header,
                                              const ResourceReference& reference) {
  const std::size_t at = std::size_t{header.data_offset} + reference.data_offset;
  return slice(bytes, at + 4, u32(bytes, at, Endian::kBig));
}

}  // namespace glimster::descriptor_tests
