// Reading fixed-width fields out of a byte buffer, bounds-checked, in either
// byte order. Written for the tests on their own, from the formats' layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace glimster::descriptor_tests {

enum class Endian { kLittle, kBig };

inline void RequireRange(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                         std::size_t size) {
  if (offset > bytes.size() || size > bytes.size() - offset) {
    throw std::out_of_range("field at " + std::to_string(offset) + " of size " +
                            std::to_string(size) + " lies beyond the " +
                            std::to_string(bytes.size()) + " bytes read");
  }
}

inline std::uint32_t UnsignedField(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                                   std::size_t size, Endian endian) {
  RequireRange(bytes, offset, size);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t index = endian == Endian::kBig ? offset + i : offset + size - 1 - i;
    value = value << 8 | bytes[index];
  }
  return value;
}

inline std::uint16_t u16(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                         Endian endian) {
  return static_cast<std::uint16_t>(UnsignedField(bytes, offset, 2, endian));
}

inline std::uint32_t u32(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                         Endian endian) {
  return UnsignedField(bytes, offset, 4, endian);
}

// The bytes as they stand, as text: four-character codes, names.
inline std::string text(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                        std::size_t size) {
  RequireRange(bytes, offset, size);
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

inline std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                                       std::size_t size) {
  RequireRange(bytes, offset, size);
  return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

}  // namespace glimster::descriptor_tests
