#include "PropertyList.h"

#include <limits>
#include <stdexcept>

namespace glimster::descriptor {
namespace {

constexpr std::uint16_t kLeadingWord = 1;
constexpr std::uint32_t kListVersion = 0;
constexpr std::uint32_t kPropertyId = 0;  // no property here needs a second instance
constexpr std::size_t kDataAlignment = 4;

struct ValueEncoder {
  ByteWriter& out;

  void operator()(FourCharCode code) const { out.code(code); }
  void operator()(std::uint32_t number) const { out.uint32(number); }
  void operator()(const PascalString& string) const {
    if (string.text.size() > std::numeric_limits<std::uint8_t>::max()) {
      throw std::length_error("a length-prefixed string holds at most 255 characters: " +
                              string.text);
    }
    out.uint8(static_cast<std::uint8_t>(string.text.size()));
    out.characters(string.text);
  }
  void operator()(const NulTerminatedString& string) const {
    if (string.text.find('\0') != std::string::npos) {
      throw std::invalid_argument("a NUL-terminated string cannot hold a zero character");
    }
    out.characters(string.text);
    out.uint8(0);
  }
};

Bytes EncodePaddedData(const PropertyValue& value, ByteOrder order) {
  ByteWriter data(order);
  std::visit(ValueEncoder{data}, value);
  data.PadToMultipleOf(kDataAlignment);
  return data.buffer();
}

}  // namespace

Bytes SerializePropertyList(const std::vector<Property>& properties, ByteOrder order) {
  ByteWriter out(order);
  out.uint16(kLeadingWord);
  out.uint32(kListVersion);
  out.uint32(static_cast<std::uint32_t>(properties.size()));
  for (const Property& property : properties) {
    const Bytes data = EncodePaddedData(property.value, order);
    out.code(property.vendor);
    out.code(property.key);
    out.uint32(kPropertyId);
    out.uint32(static_cast<std::uint32_t>(data.size()));
    out.bytes(data);
  }
  return out.buffer();
}

}  // namespace glimster::descriptor
