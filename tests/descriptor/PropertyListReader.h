// Splits a plug-in property list into its header fields and properties, as
// laid out: a 16-bit leading word, a 32-bit version and a 32-bit count, then
// per property vendor code, key, identifier, data length and data. Codes are
// returned as the four bytes stored, so a little-endian list shows "dnik".
#pragma once

#include "ByteFields.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glimster::descriptor_tests {

struct StoredProperty {
  std::size_t offset;
  std::string vendor;
  std::string key;
  std::uint32_t id;
  std::uint32_t data_length;
  std::vector<std::uint8_t> data;
};

struct StoredPropertyList {
  std::uint16_t leading_word;
  std::uint32_t version;
  std::uint32_t count;
  std::vector<StoredProperty> properties;
  std::size_t end_offset;  // where the last property ends
};

inline StoredPropertyList ReadPropertyList(const std::vector<std::uint8_t>& bytes, Endian endian) {
  StoredPropertyList list{
      u16(bytes, 0, endian), u32(bytes, 2, endian), u32(bytes, 6, endian), {}, 10};
  for (std::uint32_t i = 0; i < list.count; ++i) {
    const std::size_t at = list.end_offset;
    StoredProperty property{at,
                            text(bytes, at, 4),
                            text(bytes, at + 4, 4),
                            u32(bytes, at + 8, endian),
                            u32(bytes, at + 12, endian),
                            {}};
    property.data = slice(bytes, at + 16, property.data_length);
    list.end_offset = at + 16 + property.data_length;
    list.properties.push_back(property);
  }
  return list;
}

}  // namespace glimster::descriptor_tests
