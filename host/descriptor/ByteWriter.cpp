#include "ByteWriter.h"

#include <stdexcept>

namespace glimster::descriptor {

void ByteWriter::UnsignedOfWidth(std::uint32_t value, int byte_count) {
  for (int i = 0; i < byte_count; ++i) {
    const int shift = order_ == ByteOrder::kBigEndian ? 8 * (byte_count - 1 - i) : 8 * i;
    buffer_.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void ByteWriter::uint8(std::uint8_t value) { buffer_.push_back(value); }

void ByteWriter::uint16(std::uint16_t value) { UnsignedOfWidth(value, 2); }

void ByteWriter::int16(std::int16_t value) { uint16(static_cast<std::uint16_t>(value)); }

void ByteWriter::uint24(std::uint32_t value) {
  if (value > 0xFFFFFFu) {
    throw std::out_of_range("value does not fit in 24 bits");
  }
  UnsignedOfWidth(value, 3);
}

void ByteWriter::uint32(std::uint32_t value) { UnsignedOfWidth(value, 4); }

void ByteWriter::characters(std::string_view text) {
  buffer_.insert(buffer_.end(), text.begin(), text.end());
}

void ByteWriter::bytes(const Bytes& data) {
  buffer_.insert(buffer_.end(), data.begin(), data.end());
}

void ByteWriter::zeros(std::size_t count) { buffer_.insert(buffer_.end(), count, 0); }

void ByteWriter::PadToMultipleOf(std::size_t alignment) {
  zeros((alignment - buffer_.size() % alignment) % alignment);
}

}  // namespace glimster::descriptor
