// Appends fixed-width integers, four-character codes and raw bytes to a growing
// buffer in one byte order.
#pragma once

#include "ByteOrder.h"
#include "FourCharCode.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace glimster::descriptor {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
 public:
  explicit ByteWriter(ByteOrder order) : order_(order) {}

  void uint8(std::uint8_t value);
  void uint16(std::uint16_t value);
  void int16(std::int16_t value);
  void uint24(std::uint32_t value);  // the low 24 bits; throws if more are set
  void uint32(std::uint32_t value);
  void code(FourCharCode code) { uint32(code.value()); }
  void characters(std::string_view text);
  void bytes(const Bytes& data);
  void zeros(std::size_t count);
  // Appends zero bytes until the size is a multiple of `alignment`.
  void PadToMultipleOf(std::size_t alignment);

  std::size_t size() const { return buffer_.size(); }
  const Bytes& buffer() const { return buffer_; }

 private:
  void UnsignedOfWidth(std::uint32_t value, int byte_count);

  ByteOrder order_;
  Bytes buffer_;
};

}  // namespace glimster::descriptor
